; Native call dispatch: 120,000,000 calls of two trivial natives (a conversion that replaces the
; top word, and one that does nothing), so that the time is mostly the NATIVE instruction's.
; Locals: [i, sum] above main's return slot. bench/natives/dispatch.lua does the same.
.function @main main

main:
    PUSH32 60000000         ; i
    PUSH0                   ; sum
loop:
    LOCADDR8 -1             ; &sum
    LDLOC8 -3               ; i
    NATIVE Char.toChar      ; the low 16 bits of i
    ADDSET                  ; sum += i & 0xFFFF
    NATIVE Debug.nop
    LOCADDR8 -2             ; &i
    DEC
    LDLOC8 -2               ; i
    JZ16 done
    JMP16 loop
done:
    ITOS
    NATIVE Debug.log
    RET 1, 2
