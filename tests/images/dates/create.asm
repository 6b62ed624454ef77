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
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; the getters, day to timezone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getDay
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getMonth
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getYear
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getHour
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getMinute
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getSecond
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log

    PUSHGLOBALS                 ; 1: year 5, UTC
    FLDADDR8 1
    PUSH32 2
    PUSH32 1
    PUSH32 5
    PUSH32 3
    PUSH32 4
    PUSH32 5
    PUSH32 1
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS                 ; year 42, local
    FLDADDR8 1
    PUSH32 28
    PUSH32 2
    PUSH32 42
    PUSH32 0
    PUSH32 0
    PUSH32 0
    PUSH0
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS                 ; year 987, UTC
    FLDADDR8 1
    PUSH32 31
    PUSH32 12
    PUSH32 987
    PUSH32 23
    PUSH32 59
    PUSH32 59
    PUSH32 1
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    NATIVE Debug.log

    ; copies are new objects with the same fields
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.createCopy
    PUSHGLOBALS
    FLDADDR8 3
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.createCopy2
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS                 ; the copy changes alone
    FLDADDR8 3
    PUSH32 1
    NATIVE DateTime.setYear
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.toString
    NATIVE Debug.log

    ; now: local time, after 2020-01-01 00:00:00
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.createNow
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 1
    PUSH32 2020
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    RET 0, 1
