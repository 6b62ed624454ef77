; A source of errors: every start of a request delivers the code to the observer's location
; error method. The first error restarts the request by changing its parameter.
.include "extension.inc"
.globals 2                      ; 0: the request; 1: calls so far
.class Watcher
.selector "<locationobserver>.handle location error<locationerror>"(1,0)
.impl Watcher onerror
.function @main main

main:
    watch

; [observer, code, return]
onerror:
    global 1
    INC
    logstr "error"
    LDLOC8 -2
    logint
    global 1
    LOAD
    PUSH32 1
    EQ
    JZ16 done
    global 0
    LOAD
    PUSH32 3
    EXTCALL 27, 17
done:
    RET 0, 3
