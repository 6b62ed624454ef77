; An application that never draws runs without any Qt GUI platform (the one named here does not
; exist): its log, timers and exit still work.
.include "../common.inc"

.class Ticker

.selector @timerevent
.impl Ticker tick

.function @main main

main:
    logstr "main"
    ticker Ticker, 0
    FRAME8 -1
    RET 0, 1

tick:
    logstr "tick"
    NATIVE System.exit
    RET 0, 2
