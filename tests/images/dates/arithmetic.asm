; DateTime add and subtract: days, hours, minutes and seconds summed in 64 bits, so 30000 days
; (more seconds than an int holds) move a date by 82 years; the calendar decides months and leap
; days; results outside the years 0..9999 are refused and leave the date alone.
.globals 3

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 1
    PUSH32 2000
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    ; 30000 days: 2592000000 seconds, beyond what an int holds
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 30000
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 30000
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.subtract
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 30000
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.subtract
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 30000
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; 25 hours cross a day; each part may be negative
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH32 25
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 -1
    PUSH32 61
    PUSH32 -3661
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    PUSH0
    PUSH0
    PUSH32 -1
    NATIVE DateTime.subtract
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; months, leap days and years follow the calendar
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 56
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 366
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.subtract
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; the local time of this run (UTC) moves the same way
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 31
    PUSH32 12
    PUSH32 2008
    PUSH32 23
    PUSH32 30
    PUSH0
    PUSH0
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    PUSH32 25
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; results before year 0 or after 9999 are refused and change nothing
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 31
    PUSH32 12
    PUSH32 9999
    PUSH32 23
    PUSH32 59
    PUSH32 59
    PUSH32 1
    NATIVE DateTime.create
    TRY -1, caught1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.add
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught1:
    FRAME8 -1
    TRY -1, caught2
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 2147483647
    NATIVE DateTime.add
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught2:
    FRAME8 -1
    TRY -1, caught3
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 2147483647
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.subtract
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught3:
    FRAME8 -1
    TRY -1, caught4
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 -2147483648
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.subtract
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught4:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; the whole range: 3652425 days less a second back to the first moment
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 3652424
    PUSH32 23
    PUSH32 59
    PUSH32 59
    NATIVE DateTime.subtract
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.toString
    NATIVE Debug.log
    TRY -1, caught5
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.subtract
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught5:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 59
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.toString
    NATIVE Debug.log
    RET 0, 1

; vminternalthrow(code, message): logs the message, then throws for the handler.
internalthrow:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Exception
    THROW
    RET 0, 2
