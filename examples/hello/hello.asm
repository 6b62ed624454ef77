; hello: the smallest complete application. init runs first, then main, which logs a greeting
; and asks the runtime to end the run.
.function @init init
.function @main main

init:
    RET 0, 0

main:
    PUSHSTR "hello from zelmo"
    NATIVE Debug.log
    NATIVE System.exit
    RET 0, 0
