; Extension 36 with the default virtual lamp: on, off and the query between them. The camera
; cover is open exactly when its state file holds "open\n"; a missing file is fatal.
.function @main main

main:
    EXTCALL 36, 3                   ; off at first
    ITOS
    NATIVE Debug, 1
    EXTCALL 36, 1
    EXTCALL 36, 3
    ITOS
    NATIVE Debug, 1
    EXTCALL 36, 3                   ; a query leaves it on
    ITOS
    NATIVE Debug, 1
    EXTCALL 36, 2
    EXTCALL 36, 3
    ITOS
    NATIVE Debug, 1
    EXTCALL 36, 4                   ; "open\n"
    ITOS
    NATIVE Debug, 1
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    PUSHSTR "bare"
    PUSHSTR "cover"
    NATIVE FileSystem, 9
    EXTCALL 36, 4                   ; "open" without the newline
    ITOS
    NATIVE Debug, 1
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    PUSHSTR "closed"
    PUSHSTR "cover"
    NATIVE FileSystem, 9
    EXTCALL 36, 4                   ; "closed\n"
    ITOS
    NATIVE Debug, 1
    PUSHSTR "cover"
    NATIVE FileSystem, 3
    EXTCALL 36, 4
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
