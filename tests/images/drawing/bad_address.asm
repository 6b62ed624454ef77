; A rectangle copied from an address far past guest memory: the orderly fatal error, and
; nothing after the call runs.
.include "../common.inc"
.globals 16
.class Oops
.function @main main
.function @internalthrow onerror

; Every managed error is logged with its text and thrown as an Oops; each
; expected failure is such a line, so a failure that does not happen shows.
onerror:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    global 0
    PUSH32 2147483632
    NATIVE Rectangle.copy
    logstr "not reached"
    RET 0, 1
