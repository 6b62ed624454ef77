; The Hash group: a hash object accumulates what update gives it, and every digest (of an
; object or of a byte array) is an empty byte array; null fields and arrays are refused.
.include "../common.inc"
.globals 4                      ; 0: a hash, 1: an empty field, 2, 3: an empty byte array

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    global 0
    PUSH32 1
    NATIVE Hash.create
    global 2
    NEWARRAY 1
    ; update accumulates; digest stays empty however often it is asked
    global 0
    global 2
    NATIVE Hash.update
    global 0
    NATIVE Hash.digest
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    global 2
    NATIVE Hash.update
    global 0
    NATIVE Hash.digest
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    global 2
    NATIVE Hash.update
    global 0
    NATIVE Hash.digest
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 2
    PUSH32 5
    NATIVE Hash.hashBytes
    LOAD
    FLDADDR8 3
    LOAD
    logint
    ; null fields and arrays
    TRY -1, caught1
    PUSH0
    PUSH32 1
    NATIVE Hash.create
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught1:
    FRAME8 -1
    TRY -1, caught2
    PUSH0
    PUSH32 1
    NATIVE Hash.hashBytes
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught2:
    FRAME8 -1
    TRY -1, caught3
    global 1
    global 2
    NATIVE Hash.update
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught3:
    FRAME8 -1
    TRY -1, caught4
    global 0
    PUSH0
    NATIVE Hash.update
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught4:
    FRAME8 -1
    TRY -1, caught5
    global 1
    NATIVE Hash.digest
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught5:
    FRAME8 -1
    TRY -1, caught6
unknown1:
    NATIVE Hash, 5
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught6:
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
