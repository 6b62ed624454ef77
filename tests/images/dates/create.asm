; DateTime creation, copies, getters and formatting: four-digit years with leading zeros, "Z"
; for UTC. Globals are the fields that hold the date-times.
.include "../common.inc"
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
    global 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; the getters, day to timezone
    global 0
    NATIVE DateTime.getDay
    logint
    global 0
    NATIVE DateTime.getMonth
    logint
    global 0
    NATIVE DateTime.getYear
    logint
    global 0
    NATIVE DateTime.getHour
    logint
    global 0
    NATIVE DateTime.getMinute
    logint
    global 0
    NATIVE DateTime.getSecond
    logint
    global 0
    NATIVE DateTime.getTimezone
    logint

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
    global 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    global 1
    NATIVE DateTime.getTimezone
    logint
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
    global 1
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
    global 1
    NATIVE DateTime.toString
    NATIVE Debug.log

    ; copies are new objects with the same fields
    global 2
    global 1
    NATIVE DateTime.createCopy
    global 3
    global 2
    NATIVE DateTime.createCopy2
    global 3
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS                 ; the copy changes alone
    FLDADDR8 3
    PUSH32 1
    NATIVE DateTime.setYear
    global 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    global 3
    NATIVE DateTime.toString
    NATIVE Debug.log

    ; now: local time, after 2020-01-01 00:00:00
    global 2
    NATIVE DateTime.createNow
    global 2
    NATIVE DateTime.getTimezone
    logint
    global 3
    PUSH32 1
    PUSH32 1
    PUSH32 2020
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.create
    global 2
    global 3
    NATIVE DateTime.after
    logint
    RET 0, 1
