; Two timers with different periods served by the runtime's event loop. A ticks every 20 ms; B
; at first only every minute. After A's third tick B's delay becomes 0, so B ticks next; B's
; first tick removes A, its third removes B itself: with no timer left nothing can wake the
; application, so the headless runtime ends. The listeners are referenced by nothing but their
; timers, so they also show that a timer keeps its listener alive.
.include "../common.inc"
.globals 4                      ; 0: A's id, 1: B's id, 2: A's ticks, 3: B's ticks

.class ListenerA
.class ListenerB

.selector @timerevent
.impl ListenerA onA
.impl ListenerB onB

.function @main main

main:
    global 0
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS ListenerA
    PUSH32 20
    NATIVE Timer.addTimer       ; addTimer(A, 20)
    LDLOC8 -1
    logint
    STORE
    global 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS ListenerB
    PUSH32 60000
    NATIVE Timer.addTimer       ; addTimer(B, 60000)
    LDLOC8 -1
    logint
    STORE
    RET 0, 1

onA:
    global 2
    INC
    logstr "A tick"
    global 2
    LOAD
    logint
    global 2
    LOAD
    PUSH32 3
    EQ
    JZ16 doneA
    global 1
    LOAD
    PUSH32 0
    NATIVE Timer.setTimerDelay  ; setTimerDelay(B, 0)
    logstr "B delay 0"
doneA:
    RET 0, 2

onB:
    global 3
    INC
    logstr "B tick"
    global 3
    LOAD
    logint
    global 3
    LOAD
    PUSH32 1
    EQ
    JZ16 notFirst
    global 0
    LOAD
    NATIVE Timer.removeTimer    ; removeTimer(A)
    logstr "A removed"
notFirst:
    global 3
    LOAD
    PUSH32 3
    EQ
    JZ16 doneB
    global 1
    LOAD
    NATIVE Timer.removeTimer    ; removeTimer(B)
    logstr "B removed"
doneB:
    RET 0, 2
