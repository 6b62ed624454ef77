; The arrays that subvector (82) and concatParts (84) return are objects of their own. Here
; the global initialiser keeps them only in global words and drops their source array; the
; collection that follows the initialiser must keep their elements. main then churns through
; arrays of the same size and strings (which would reuse any storage that had been freed) and
; dumps them. T is a subvector of a string array (group 7), so its strings must survive too.
; `dump` logs an array of single digits as one decimal number (an empty array as 0).
.include "../common.inc"
.globals 9                    ; A at 0, G at 2, H at 3, junk at 4, S at 6, T at 8
.function @init init
.function @main main

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
    logint
    RET 2, 4

init:                         ; [ret i]
    FRAME8 1
    PUSHGLOBALS
    NEWARRAY 4
fill:
    LDLOC8 -1
    PUSH32 6
    LT
    JZ16 filled
    LOCADDR8 -1
    INC
    PUSHGLOBALS
    LDLOC8 -2
    NATIVE IntArray.append    ; append 1..6
    JMP16 fill
filled:
    global 2                  ; G = subvector(A, (1, 4))
    PUSHGLOBALS
    push2 1, 4
    NATIVE IntArray.subvector
    STORE
    global 3                  ; H = concatParts(A, (0, 2), A, (4, 2))
    PUSHGLOBALS
    push2 0, 2
    PUSHGLOBALS
    push2 4, 2
    NATIVE IntArray.concatParts
    STORE
    PUSHGLOBALS               ; drop A
    STOREZ
    global 6                  ; S = alpha, beta, gamma
    NEWARRAY 4
    global 6
    PUSHSTR "alpha"
    NATIVE RefArray.append
    global 6
    PUSHSTR "beta"
    NATIVE RefArray.append
    global 6
    PUSHSTR "gamma"
    NATIVE RefArray.append
    global 8                  ; T = subvector(S, (1, -1))
    global 6
    push2 1, -1
    NATIVE RefArray.subvector
    STORE
    global 6                  ; drop S
    STOREZ
    FRAME8 -1
    RET 0, 0

main:                         ; [ret i]
    FRAME8 1
churn:
    LDLOC8 -1
    PUSH32 500
    LT
    JZ16 churned
    global 4                  ; junk = 4 sevens, then 6 eights
    push2 7, 4
    NATIVE IntArray.initFilled
    global 4
    push2 8, 6
    NATIVE IntArray.initFilled
    PUSHSTR "junk"
    FRAME8 -1
    LOCADDR8 -1
    INC
    JMP16 churn
churned:
    global 2
    LOAD
    CALL dump, none           ; 2345
    global 3
    LOAD
    CALL dump, none           ; 1256
    global 8
    LOAD
    PUSH32 0
    NATIVE RefArray.elementValue
    NATIVE Debug.log          ; beta
    global 8
    LOAD
    NATIVE RefArray.lastElement
    NATIVE Debug.log          ; gamma
    FRAME8 -1
    RET 0, 0
