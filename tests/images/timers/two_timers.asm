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
    ticker ListenerA, 20
    STORE
    global 1
    ticker ListenerB, 60000
    STORE
    RET 0, 1

; tick COUNTER, "TEXT": one more tick in global COUNTER, logged with the text and the count.
.macro tick counter, text
    global \counter
    INC
    logstr \text
    global \counter
    LOAD
    logint
.endm
; unless COUNTER, COUNT, LABEL: jumps to LABEL unless global COUNTER holds COUNT.
.macro unless counter, count, label
    global \counter
    LOAD
    PUSH32 \count
    EQ
    JZ16 \label
.endm

onA:
    tick 2, "A tick"
    unless 2, 3, doneA
    global 1
    LOAD
    PUSH32 0
    NATIVE Timer.setTimerDelay  ; setTimerDelay(B, 0)
    logstr "B delay 0"
doneA:
    RET 0, 2

onB:
    tick 3, "B tick"
    unless 3, 1, notFirst
    global 0
    LOAD
    NATIVE Timer.removeTimer    ; removeTimer(A)
    logstr "A removed"
notFirst:
    unless 3, 3, doneB
    global 1
    LOAD
    NATIVE Timer.removeTimer    ; removeTimer(B)
    logstr "B removed"
doneB:
    RET 0, 2
