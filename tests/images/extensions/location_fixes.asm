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

; Logs location operation \op on the location.
.macro field op
    LDLOC8 -2
    EXTCALL 27, \op
    logfixed 2
.endm

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
    field 12
    field 13
    field 11
    LDLOC8 -2
    LDLOC8 -3
    EXTCALL 27, 16
    logfixed 2
    LDLOC8 -2
    EXTCALL 27, 9
    logint
    LDLOC8 -2
    EXTCALL 27, 10
    NATIVE DateTime, 13
    logint
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
