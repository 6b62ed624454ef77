; Extension 27 without a position source: locations made, read and changed by every
; operation, requests made, started, stopped and changed without any call coming back, and the
; errors of null and foreign references. An unknown operation is fatal with its message.
.include "../common.inc"
.globals 6                      ; 0, 1: date-times; 2, 3: locations; 4: request; 5: observer
.class Error
.class Observer
.function @main main
.function @internalthrow onerror

; Every managed error is logged with its text and thrown as an Error.
onerror:
    LDLOC8 -2
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Error
    THROW

main:
    global 0
    PUSH32 1
    PUSH32 2
    PUSH32 2000
    PUSH32 10
    PUSH32 20
    PUSH32 30
    PUSH32 1
    NATIVE DateTime, 4
    global 1
    PUSH32 31
    PUSH32 12
    PUSH32 2010
    PUSH32 23
    PUSH32 59
    PUSH32 59
    PUSH32 1
    NATIVE DateTime, 4
    ; 5: a location of three coordinates and a date-time
    global 2
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "-2.25"
    NATIVE Fixed, 4
    PUSHSTR "100"
    NATIVE Fixed, 4
    global 0
    EXTCALL 27, 5
    ; 12, 13, 11: the first, second and third coordinate as given
    global 2
    LOAD
    EXTCALL 27, 12
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    global 2
    LOAD
    EXTCALL 27, 13
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    global 2
    LOAD
    EXTCALL 27, 11
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    ; 9: status 0; 10: a copy of the timestamp
    global 2
    LOAD
    EXTCALL 27, 9
    ITOS
    NATIVE Debug, 1
    global 2
    LOAD
    EXTCALL 27, 10
    NATIVE DateTime, 21
    NATIVE Debug, 1
    ; 6: the location copies the date-time; changing the original later leaves it alone
    global 2
    LOAD
    global 1
    EXTCALL 27, 6
    global 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime, 5
    global 2
    LOAD
    EXTCALL 27, 10
    NATIVE DateTime, 21
    NATIVE Debug, 1
    global 1
    NATIVE DateTime, 21
    NATIVE Debug, 1
    ; 7: new coordinates; 8: nothing
    global 2
    LOAD
    PUSHSTR "7"
    NATIVE Fixed, 4
    PUSHSTR "-8.5"
    NATIVE Fixed, 4
    PUSHSTR "9"
    NATIVE Fixed, 4
    EXTCALL 27, 7
    global 2
    LOAD
    PUSHSTR "1"
    NATIVE Fixed, 4
    PUSHSTR "2"
    NATIVE Fixed, 4
    EXTCALL 27, 8
    global 2
    LOAD
    EXTCALL 27, 12
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    global 2
    LOAD
    EXTCALL 27, 13
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    global 2
    LOAD
    EXTCALL 27, 11
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    ; 14 and 15 give 0 without looking at their arguments; 16 reads only the second
    global 3
    PUSHSTR "3"
    NATIVE Fixed, 4
    PUSHSTR "4"
    NATIVE Fixed, 4
    PUSHSTR "5"
    NATIVE Fixed, 4
    global 0
    EXTCALL 27, 5
    global 2
    LOAD
    global 3
    LOAD
    EXTCALL 27, 14
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    PUSH0
    PUSH0
    EXTCALL 27, 15
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    PUSH0
    global 3
    LOAD
    EXTCALL 27, 16
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1
    ; null and foreign references
    TRY Error, e1
    PUSH0
    EXTCALL 27, 9
    ENDTRY -1
e1:
    TRY Error, e2
    global 2
    LOAD
    PUSH0
    EXTCALL 27, 16
    ENDTRY -1
e2:
    TRY Error, e3
    global 0
    LOAD
    EXTCALL 27, 11
    ENDTRY -1
e3:
    TRY Error, e4
    global 2
    LOAD
    EXTCALL 27, 4
    ENDTRY -1
e4:
    TRY Error, e5
    global 2
    LOAD
    PUSH0
    EXTCALL 27, 6
    ENDTRY -1
e5:
    ; 1: a request (interval 5 s); 4, 3, 2, 17 start, stop and change it: no source, no calls
    global 5
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Observer
    STORE
    global 4
    global 5
    LOAD
    PUSH32 7
    PUSH32 5
    EXTCALL 27, 1
    global 4
    LOAD
    EXTCALL 27, 4
    global 4
    LOAD
    EXTCALL 27, 3
    global 4
    LOAD
    PUSH32 5
    EXTCALL 27, 2
    global 4
    LOAD
    PUSH32 1
    EXTCALL 27, 17
    TRY Error, e6
    global 4
    LOAD
    EXTCALL 27, 9
    ENDTRY -1
e6:
    TRY Error, e7
    PUSH0
    global 5
    LOAD
    PUSH0
    PUSH32 1
    EXTCALL 27, 1
    ENDTRY -1
e7:
    PUSHSTR "requests done"
    NATIVE Debug, 1
    EXTCALL 27, 18
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
