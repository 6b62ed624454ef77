; Refused date-times. Creation checks year, month, day, hour, minute, second and timezone in
; that order, then that the day exists in its month, and leaves its field alone when it refuses;
; a refused change leaves its object alone. Every error is logged by vminternalthrow.
.globals 2

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 31
    PUSH32 1
    PUSH32 2000
    PUSH32 12
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    ; creation: the first bad value in argument order names the error
    TRY -1, caught1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 40
    PUSH32 13
    PUSH32 10000
    PUSH32 24
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught1:
    FRAME8 -1
    TRY -1, caught2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 40
    PUSH32 13
    PUSH32 -1
    PUSH32 24
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught2:
    FRAME8 -1
    TRY -1, caught3
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 40
    PUSH32 13
    PUSH32 2000
    PUSH32 24
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught3:
    FRAME8 -1
    TRY -1, caught4
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 32
    PUSH32 12
    PUSH32 2000
    PUSH32 24
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught4:
    FRAME8 -1
    TRY -1, caught5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 12
    PUSH32 2000
    PUSH32 24
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught5:
    FRAME8 -1
    TRY -1, caught6
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 12
    PUSH32 2000
    PUSH32 23
    PUSH32 60
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught6:
    FRAME8 -1
    TRY -1, caught7
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 12
    PUSH32 2000
    PUSH32 23
    PUSH32 59
    PUSH32 60
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught7:
    FRAME8 -1
    TRY -1, caught8
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 12
    PUSH32 2000
    PUSH32 23
    PUSH32 59
    PUSH32 59
    PUSH32 2
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught8:
    FRAME8 -1
    TRY -1, caught9
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 31
    PUSH32 4
    PUSH32 2009
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught9:
    FRAME8 -1
    TRY -1, caught10
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 29
    PUSH32 2
    PUSH32 2001
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught10:
    FRAME8 -1
    TRY -1, caught11
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 31
    PUSH32 4
    PUSH32 2009
    PUSH32 25
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught11:
    FRAME8 -1
    ; the field still holds the first object
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    TRY -1, caught12
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 2000
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught12:
    FRAME8 -1
    ; changes: a missing day by name, other bad values with no message
    TRY -1, caught13
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE DateTime.setMonth
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught13:
    FRAME8 -1
    TRY -1, caught14
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    NATIVE DateTime.setDay
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught14:
    FRAME8 -1
    TRY -1, caught15
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 32
    NATIVE DateTime.setDay
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught15:
    FRAME8 -1
    TRY -1, caught16
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    NATIVE DateTime.setMonth
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught16:
    FRAME8 -1
    TRY -1, caught17
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 13
    NATIVE DateTime.setMonth
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught17:
    FRAME8 -1
    TRY -1, caught18
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE DateTime.setYear
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught18:
    FRAME8 -1
    TRY -1, caught19
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 10000
    NATIVE DateTime.setYear
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught19:
    FRAME8 -1
    TRY -1, caught20
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE DateTime.setHour
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught20:
    FRAME8 -1
    TRY -1, caught21
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 24
    NATIVE DateTime.setHour
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught21:
    FRAME8 -1
    TRY -1, caught22
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE DateTime.setMinute
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught22:
    FRAME8 -1
    TRY -1, caught23
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 60
    NATIVE DateTime.setMinute
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught23:
    FRAME8 -1
    TRY -1, caught24
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE DateTime.setSecond
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught24:
    FRAME8 -1
    TRY -1, caught25
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 60
    NATIVE DateTime.setSecond
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught25:
    FRAME8 -1
    TRY -1, caught26
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE DateTime.setTimezone
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught26:
    FRAME8 -1
    TRY -1, caught27
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE DateTime.setTimezone
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught27:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 29
    PUSH32 2
    PUSH32 2000
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    TRY -1, caught28
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2001
    NATIVE DateTime.setYear
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught28:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2004
    NATIVE DateTime.setYear
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    ; an empty field is the null error for every kind of operation
    TRY -1, caught29
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.getDay
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught29:
    FRAME8 -1
    TRY -1, caught30
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.toString
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught30:
    FRAME8 -1
    TRY -1, caught31
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    NATIVE DateTime.setDay
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught31:
    FRAME8 -1
    TRY -1, caught32
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime.add
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught32:
    FRAME8 -1
    TRY -1, caught33
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.equals
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught33:
    FRAME8 -1
    TRY -1, caught34
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.createCopy
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught34:
    FRAME8 -1
    ; unknown operations
    TRY -1, caught35
    NATIVE DateTime, 30
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught35:
    FRAME8 -1
    TRY -1, caught36
    NATIVE DateTime, 0
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught36:
    FRAME8 -1
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
