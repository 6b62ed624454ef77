; An array held only by global words (its header in globals 0 and 1) keeps its elements through
; the collection after the initialiser: main then fills other arrays of the same size, which
; would reuse the storage had it been freed, and reads the last element back.
.include "../common.inc"
.globals 4
.function @init init
.function @main main

init:                         ; [ret i]
    FRAME8 1
    PUSHGLOBALS
    NEWARRAY 4
fill:
    LDLOC8 -1
    PUSH32 1000
    LT
    JZ16 filled
    LOCADDR8 -1
    INC
    PUSHGLOBALS
    LDLOC8 -2
    NATIVE IntArray.append    ; 1..1000
    JMP16 fill
filled:
    FRAME8 -1
    RET 0, 0

main:                         ; [ret i]
    FRAME8 1
churn:
    LDLOC8 -1
    PUSH32 2000
    LT
    JZ16 churned
    global 2
    push2 9, 1000
    NATIVE IntArray.initFilled
    LOCADDR8 -1
    INC
    JMP16 churn
churned:
    PUSHGLOBALS
    PUSH32 999
    NATIVE IntArray.elementRef
    LOAD
    logint
    FRAME8 -1
    RET 0, 0
