; A nested integer loop: 20,000 x 10,000 iterations of a few simple operations
; (about 200 million operations). Locals: [i, j, sum] above main's return slot.
.function @main main

main:
    PUSH32 20000            ; i
    PUSH0                   ; j
    PUSH0                   ; sum
outer:
    LOCADDR8 -2             ; &j
    PUSH32 10000
    STORE
inner:
    LOCADDR8 -1             ; &sum
    LDLOC8 -3               ; j
    PUSH32 3
    AND
    ADDSET                  ; sum += j & 3
    LOCADDR8 -2             ; &j
    DEC
    LDLOC8 -2               ; j
    JZ16 innerdone
    JMP16 inner
innerdone:
    LOCADDR8 -3             ; &i
    DEC
    LDLOC8 -3               ; i
    JZ16 outerdone
    JMP16 outer
outerdone:
    ITOS
    NATIVE Debug.log
    FRAME8 -2
    RET 0, 0
