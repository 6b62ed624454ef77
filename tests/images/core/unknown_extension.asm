; EXTCALL with an id no extension answers to raises VMException "Dll not supported", which the
; application catches like any other managed error; the stack is as the TRY left it.
.class Exception refs=2            ; word 1: code, word 2: message

.function @main main
.function @internalthrow internalthrow

main:
    TRY Exception, h0
    EXTCALL 0, 1
    ENDTRY -1
h0:
    CALL report, none
    TRY Exception, h21
    PUSH32 7                        ; an argument the extension would have taken
    EXTCALL 21, 3
    ENDTRY -1
h21:
    CALL report, none
    TRY Exception, h99
    EXTCALL 99, 0
    ENDTRY -1
h99:
    CALL report, none
    TRY Exception, hm1
    EXTCALL -1, -1
    ENDTRY -1
hm1:
    CALL report, none
    PUSHSTR "still running"
    NATIVE Debug.log
    RET 0, 1

; report(exception): logs its code and message. [exception, return]
report:
    LDLOC8 -2
    FLDADDR8 1
    LOAD
    ITOS
    NATIVE Debug.log
    LDLOC8 -2
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
    RET 0, 2

; vminternalthrow(code, message): [code, message, return]
internalthrow:
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Exception
    DUP
    FLDADDR8 1
    LDLOC8 -5
    STORE
    DUP
    FLDADDR8 2
    LDLOC8 -4
    STORE
    THROW
    RET 0, 2
