; The application exits from inside a timer event while its timer still runs: the runtime ends
; at once with status 0 and delivers nothing more.
.include "../common.inc"
.globals 1                      ; ticks

.class Ticker

.selector @timerevent
.impl Ticker tick

.function @main main

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Ticker
    PUSH0
    NATIVE Timer.addTimer
    FRAME8 -1
    RET 0, 1

tick:
    global 0
    INC
    global 0
    LOAD
    logint
    global 0
    LOAD
    PUSH32 2
    EQ
    JZ16 done
    NATIVE System.exit
    logstr "not reached"
done:
    RET 0, 2
