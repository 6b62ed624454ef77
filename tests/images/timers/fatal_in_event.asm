; An error that nothing can catch inside a timer event (the image has no vminternalthrow) ends
; the runtime in order with status 1, although the timer is still running.
.include "../common.inc"
.class Ticker

.selector @timerevent
.impl Ticker tick

.function @main main

main:
    ticker Ticker, 0
    FRAME8 -1
    RET 0, 1

tick:
    logstr "tick"
    PUSH0
    PUSH0
    DIV
    RET 0, 2
