; Timer ids come from one counter that starts at 10 and never hands out an id again, even after
; its timer was removed. Removing twice, or an id that does not exist, does nothing; negative
; delays count as 0. When the last timer is removed the headless runtime ends: nothing is left
; that could wake the application.
.include "../common.inc"
.globals 2                      ; 0: the second timer's id, 1: its ticks

.class Exception
.class Silent                   ; its timer is removed before it can fire
.class Counter

.selector @timerevent
.impl Silent silentTick
.impl Counter counterTick

.function @main main
.function @internalthrow internalthrow

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Silent
    PUSH32 0
    NATIVE Timer.addTimer       ; the first timer of the process: 10
    LDLOC8 -1
    logint
    NATIVE Timer.removeTimer    ; removed at once
    global 0
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Counter
    PUSH32 -5                   ; counts as 0
    NATIVE Timer.addTimer       ; 11, not 10 again
    LDLOC8 -1
    logint
    STORE
    PUSH32 10
    NATIVE Timer.removeTimer    ; removing 10 a second time: nothing happens
    push2 99, 5
    NATIVE Timer.setTimerDelay  ; no timer 99: nothing happens
    global 0
    LOAD
    PUSH32 -3
    NATIVE Timer.setTimerDelay  ; still 0
    TRY -1, caught
unknown1:
    NATIVE Timer, 4
    ENDTRY -1
    PUSH0
caught:
    FRAME8 -1
    logstr "main done"
    RET 0, 1

silentTick:
    logstr "removed timer fired"
    RET 0, 2

counterTick:
    global 1
    INC
    logstr "tick"
    global 1
    LOAD
    PUSH32 3
    EQ
    JZ16 done
    global 0
    LOAD
    NATIVE Timer.removeTimer
    logstr "last timer removed"
done:
    RET 0, 2

; vminternalthrow(code, message): logs the message, then throws for the handler.
internalthrow:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Exception
    THROW
    RET 0, 2
