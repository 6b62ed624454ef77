; Extension 36 with the default virtual lamp: on, off and the query between them. The camera
; cover is open exactly when its state file holds "open\n"; a missing file is fatal.
.include "../common.inc"
.function @main main

main:
    EXTCALL 36, 3                   ; off at first
    logint
    EXTCALL 36, 1
    EXTCALL 36, 3
    logint
    EXTCALL 36, 3                   ; a query leaves it on
    logint
    EXTCALL 36, 2
    EXTCALL 36, 3
    logint
    EXTCALL 36, 4                   ; "open\n"
    logint
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    PUSHSTR "bare"
    PUSHSTR "cover"
    NATIVE FileSystem, 9
    EXTCALL 36, 4                   ; "open" without the newline
    logint
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    PUSHSTR "closed"
    PUSHSTR "cover"
    NATIVE FileSystem, 9
    EXTCALL 36, 4                   ; "closed\n"
    logint
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    EXTCALL 36, 4
    logstr "not reached"
    RET 0, 0
