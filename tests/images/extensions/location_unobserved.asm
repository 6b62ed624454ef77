; An application without the observer methods gets no calls from a position source and runs
; on unharmed.
.include "../common.inc"
.globals 2                      ; 0: the request; 1: calls so far
.class Watcher
.function @main main

; One request for a new Watcher; the interval is 0 seconds: one delivery per start.
main:
    global 0
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Watcher
    PUSH0
    PUSH0
    EXTCALL 27, 1
    global 0
    LOAD
    EXTCALL 27, 4
    logstr "started"
    RET 0, 0
