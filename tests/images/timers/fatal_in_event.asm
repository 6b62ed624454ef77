; An error that nothing can catch inside a timer event (the image has no vminternalthrow) ends
; the runtime in order with status 1, although the timer is still running.
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
    PUSHSTR "tick"
    NATIVE Debug.log
    PUSH0
    PUSH0
    DIV
    RET 0, 2
