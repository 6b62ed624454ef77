; A fixed position source (latitude, longitude, altitude, accuracy) delivers to the observer's
; location event from the event loop: at once on a start, then every interval. The first fix
; restarts the request with an interval of 10 ms; the third stops it, and with nothing left to
; deliver the run ends.
.include "extension.inc"
.globals 2                      ; 0: the request; 1: calls so far
.class Watcher
.selector "<locationobserver>.handle location event<location>"(1,0)
.impl Watcher onfix
.function @main main

main:
    watch

; [observer, location, return]
onfix:
    global 1
    INC
    logstr "fix"
    global 1
    LOAD
    logint
    global 1
    LOAD
    PUSH32 1
    EQ
    JZ16 second
    LDLOC8 -2
    EXTCALL 27, 12                ; the latitude (the other fields are ExtensionTest's)
    logfixed 2
    global 0
    LOAD
    PUSH32 10
    EXTCALL 27, 2
second:
    global 1
    LOAD
    PUSH32 3
    EQ
    JZ16 done
    global 0
    LOAD
    EXTCALL 27, 3
done:
    RET 0, 3
