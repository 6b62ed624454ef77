; An application that never draws runs without any Qt GUI platform (the one named here does not
; exist): its log, timers and exit still work.
.include "../common.inc"

.class Ticker

.selector @timerevent
.impl Ticker tick

.function @main main

main:
    PUSHSTR "main"
    NATIVE Debug.log
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
    NATIVE System.exit
    RET 0, 2
