; Range operands with messages (subvector 82, replaceOrInsertRange 81), concatParts (84), the
; initialisers (2, 3, 5, 28, 29), operation 4, unknown operations and null arrays. Results of
; 82 and 84 are array objects of their own and are dumped directly.
; `dump` logs an array of single digits as one decimal number (an empty array as 0).
.globals 4                    ; A at 0, D at 2
.class Oops
.function @init init
.function @main main
.function @internalthrow onerror

init:
    RET 0, 0

onerror:                      ; (code, message): log the message, throw an Oops
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

dump:                         ; (array address): [addr ret i acc]
    FRAME8 2
dumploop:
    LDLOC8 -2                 ; i
    LDLOC8 -5                 ; addr
    NATIVE IntArray.length
    LT
    JZ16 dumpdone
    LOCADDR8 -1               ; &acc
    LDLOC8 -2                 ; acc
    PUSH32 10
    MUL
    LDLOC8 -6                 ; addr
    LDLOC8 -5                 ; i
    NATIVE IntArray.elementRef
    LOAD
    ADD
    STORE                     ; acc = acc * 10 + A[i]
    LOCADDR8 -2
    INC                       ; i += 1
    JMP16 dumploop
dumpdone:
    LDLOC8 -1
    ITOS
    NATIVE Debug.log
    RET 2, 4

main:
    PUSH32 77                 ; sentinel
    TRY Oops, u1              ; the reserved operation 1
    PUSHGLOBALS
    NATIVE IntArray, 1
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
u1:
    FRAME8 -1
    TRY Oops, u2              ; an operation number the group does not have
    PUSHGLOBALS
    NATIVE RefArray, 85
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
u2:
    FRAME8 -1
    TRY Oops, u3              ; an array value without a vector
    PUSHGLOBALS
    NATIVE IntArray.length
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
u3:
    FRAME8 -1
    PUSH32 5                  ; operation 4 does nothing
    NATIVE IntArray.nop
    ITOS
    NATIVE Debug.log          ; 5

    PUSHGLOBALS               ; initFilled(A, 3, 5)
    PUSH32 3
    PUSH32 5
    NATIVE IntArray.initFilled
    PUSHGLOBALS
    CALL dump, none           ; 33333
    PUSHGLOBALS               ; initSingle(A, 1)
    PUSH32 1
    NATIVE IntArray.initSingle
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 3
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 4
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 5
    NATIVE IntArray.append
    PUSHGLOBALS
    CALL dump, none           ; 12345
    PUSHGLOBALS               ; initCopy(D, A)
    FLDADDR8 2
    PUSHGLOBALS
    NATIVE IntArray.initCopy
    PUSHGLOBALS
    PUSH32 9
    NATIVE IntArray.append    ; A changes, the copy does not
    PUSHGLOBALS
    FLDADDR8 2
    CALL dump, none           ; 12345
    PUSHGLOBALS               ; initStepped(D, A, 2)
    FLDADDR8 2
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.initStepped
    PUSHGLOBALS
    FLDADDR8 2
    CALL dump, none           ; 135
    PUSHGLOBALS               ; initSubvector(D, A, (1, 3))
    FLDADDR8 2
    PUSHGLOBALS
    PUSH32 1
    PUSH32 3
    NATIVE IntArray.initSubvector
    PUSHGLOBALS
    FLDADDR8 2
    CALL dump, none           ; 234
    PUSHGLOBALS               ; subvector(A, (2, -1)): from 2 to the end
    PUSH32 2
    PUSH32 -1
    NATIVE IntArray.subvector
    CALL dump, none           ; 3459
    PUSHGLOBALS               ; subvector(A, (1, 2))
    PUSH32 1
    PUSH32 2
    NATIVE IntArray.subvector
    CALL dump, none           ; 23
    PUSHGLOBALS               ; concatParts(A, (4, 1), D, (0, -1))
    PUSH32 4
    PUSH32 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 0
    PUSH32 -1
    NATIVE IntArray.concatParts
    CALL dump, none           ; 5234
    TRY Oops, r1
    PUSHGLOBALS
    PUSH32 7
    PUSH32 -1
    NATIVE IntArray.subvector
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r1:
    FRAME8 -1
    TRY Oops, r2
    PUSHGLOBALS
    PUSH32 -1
    PUSH32 -1
    NATIVE IntArray.subvector
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r2:
    FRAME8 -1
    TRY Oops, r3
    PUSHGLOBALS
    PUSH32 -3
    PUSH32 2
    NATIVE IntArray.subvector
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r3:
    FRAME8 -1
    TRY Oops, r4
    PUSHGLOBALS
    PUSH32 4
    PUSH32 3
    NATIVE IntArray.subvector
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r4:
    FRAME8 -1
    TRY Oops, r5
    PUSHGLOBALS
    PUSH32 -2
    PUSH32 0
    PUSHGLOBALS
    NATIVE IntArray.replaceOrInsertRange
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r5:
    FRAME8 -1
    TRY Oops, r6
    PUSHGLOBALS
    PUSH32 2
    PUSH32 5
    PUSHGLOBALS
    NATIVE IntArray.replaceOrInsertRange
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r6:
    FRAME8 -1
    TRY Oops, r7              ; the general range rule: a count of 0 must start at 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    PUSH32 2
    PUSH32 0
    NATIVE IntArray.initSubvector
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r7:
    FRAME8 -1
    TRY Oops, r8
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 5
    PUSH32 0
    NATIVE IntArray.initFilled ; initFilled with a count of 0, then of -1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 5
    PUSH32 -1
    NATIVE IntArray.initFilled
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
r8:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 2
    CALL dump, none           ; 0: the filled array of 0 elements
    PUSHGLOBALS
    PUSH32 9
    PUSH32 0
    NATIVE IntArray.subvector ; a count of 0 selects nothing wherever it starts
    NATIVE IntArray.isEmpty
    ITOS
    NATIVE Debug.log          ; 1: empty
    PUSHGLOBALS
    CALL dump, none           ; 123459: untouched by the failures
    ITOS
    NATIVE Debug.log          ; 77: the sentinel
    RET 0, 0
