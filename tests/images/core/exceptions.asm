; Managed errors become the application's exceptions through vminternalthrow; THROW finds
; handlers through the class's parents; what nothing catches goes to vmprintthrowableandexit.
.include "../common.inc"
.class Exception refs=2            ; word 1: code, word 2: message
.class P parent=Exception
.class L parent=P
.class K parent=L

.function @main main
.function @internalthrow internalthrow
.function @printthrowableandexit printandexit

main:
    ; a null dereference, caught
    TRY Exception, h1
    PUSH0
    LOAD
    ENDTRY -1
    JMP16 n1
h1:
    DUP
    FLDADDR8 1
    LOAD
    logint
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n1:
    ; division by zero in the byte form has a message (the word form's has none: the TRY program
    ; of docs/reference.md)
    TRY -1, h3
    push2 1, 256
    DIV8
    ENDTRY -1
    JMP16 n3
h3:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n3:
    ; a handler for P catches a K (K -> L -> P)
    TRY P, h4
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS K
    THROW
h4:
    LOAD
    logint
    ; nested: the inner handler (K) does not match a P; the outer one (P) catches it
    TRY P, h5
    TRY K, h6
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS P
    THROW
h6:
    logstr "wrong handler"
    RET 0, 0
h5:
    FRAME8 -1
    logstr "outer handler caught P"
    ; thrown from two calls deep; the calls that were abandoned leave the call stacks
    TRY Exception, h7
    CALL deep, none
    ENDTRY -1
h7:
    FRAME8 -1
    CALL shallow, none
    logstr "returned normally after the catch"
    ; THROW of null does nothing and leaves the null
    PUSH0
    THROW
    logint
    ; nothing catches this one
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS L
    DUP
    FLDADDR8 2
    PUSHSTR "the last one"
    STORE
    THROW
    logstr "not reached"
    RET 0, 0

deep:
    CALL deeper, none
    RET 0, 0
deeper:
    PUSH0
    PUSH0
    MOD
    RET 0, 0
shallow:
    RET 0, 1

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

; vmprintthrowableandexit(exception): [exception, return]
printandexit:
    logstr "uncaught:"
    LDLOC8 -2
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
    NATIVE System.exit
    RET 0, 1
