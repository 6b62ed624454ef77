; DateTime creation, copies, getters and formatting: four-digit years with leading zeros, "Z"
; for UTC. Globals are the fields that hold the date-times.
.globals 4

.function @main main

main:
    PUSHGLOBALS                 ; 0: 2009-03-07 14:05:09 local
    FLDADDR8 0
    PUSH32 7
    PUSH32 3
    PUSH32 2009
    PUSH32 14
    PUSH32 5
    PUSH32 9
    PUSH0
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 21
    NATIVE Debug, 1
    ; the getters, day to timezone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 7
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 9
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 10
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 11
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 12
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1

    PUSHGLOBALS                 ; 1: year 5, UTC
    FLDADDR8 1
    PUSH32 2
    PUSH32 1
    PUSH32 5
    PUSH32 3
    PUSH32 4
    PUSH32 5
    PUSH32 1
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS                 ; year 42, local
    FLDADDR8 1
    PUSH32 28
    PUSH32 2
    PUSH32 42
    PUSH32 0
    PUSH32 0
    PUSH32 0
    PUSH0
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS                 ; year 987, UTC
    FLDADDR8 1
    PUSH32 31
    PUSH32 12
    PUSH32 987
    PUSH32 23
    PUSH32 59
    PUSH32 59
    PUSH32 1
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 21
    NATIVE Debug, 1

    ; copies are new objects with the same fields
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 2
    PUSHGLOBALS
    FLDADDR8 3
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 3
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS                 ; the copy changes alone
    FLDADDR8 3
    PUSH32 1
    NATIVE DateTime, 16
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 21
    NATIVE Debug, 1

    ; now: local time, after 2020-01-01 00:00:00
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 1
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 1
    PUSH32 2020
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    RET 0, 1
