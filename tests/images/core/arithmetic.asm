; Integer semantics of the instruction set: wrap-around, division and shift rules, 8-bit forms,
; the two kinds of boolean.
.function @main main

.string "begin"

main:
    ; most negative int / -1 stays itself; % -1 is 0
    PUSH32 0x80000000
    PUSH32 -1
    DIV
    ITOS
    NATIVE Debug.log
    PUSH32 0x80000000
    PUSH32 -1
    MOD
    ITOS
    NATIVE Debug.log
    ; truncation toward zero
    PUSH32 -7
    PUSH32 2
    DIV
    ITOS
    NATIVE Debug.log
    PUSH32 -7
    PUSH32 2
    MOD
    ITOS
    NATIVE Debug.log
    ; wrap-around
    PUSH32 0x7fffffff
    PUSH32 1
    ADD
    ITOS
    NATIVE Debug.log
    PUSH32 0x80000000
    NEG
    ITOS
    NATIVE Debug.log
    PUSH32 65536
    PUSH32 65536
    MUL
    ITOS
    NATIVE Debug.log
    ; shifts: by 32 -> 0; -8 >> 1 -> -4; 1 << -1 -> 0; -8 >> 40 -> 0; 256 << -4 -> 16
    PUSH32 1
    PUSH32 32
    SHL
    ITOS
    NATIVE Debug.log
    PUSH32 -8
    PUSH32 1
    SHR
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 -1
    SHL
    ITOS
    NATIVE Debug.log
    PUSH32 -8
    PUSH32 40
    SHR
    ITOS
    NATIVE Debug.log
    PUSH32 256
    PUSH32 -4
    SHL
    ITOS
    NATIVE Debug.log
    ; booleans: BEQ 5,-1 -> 1; EQ 5,-1 -> 0; LAND 5,-1 -> -1; NOT 0 -> -1; LXOR
    PUSH32 5
    PUSH32 -1
    BEQ
    ITOS
    NATIVE Debug.log
    PUSH32 5
    PUSH32 -1
    EQ
    ITOS
    NATIVE Debug.log
    PUSH32 5
    PUSH32 -1
    LAND
    ITOS
    NATIVE Debug.log
    PUSH0
    NOT
    ITOS
    NATIVE Debug.log
    PUSH32 3
    PUSH0
    LXOR
    ITOS
    NATIVE Debug.log
    PUSH32 3
    PUSH0
    BNE
    ITOS
    NATIVE Debug.log
    ; 8-bit: -100 / 7 on the low bytes; 0x1F9 (low byte -7) % 3; compares on low bytes
    PUSH32 -100
    PUSH32 7
    DIV8
    ITOS
    NATIVE Debug.log
    PUSH32 0x1F9
    PUSH32 3
    MOD8
    ITOS
    NATIVE Debug.log
    PUSH32 0x1FF
    PUSH32 0x0FF
    EQ8
    ITOS
    NATIVE Debug.log
    PUSH32 0x80
    PUSH32 0x01
    LT8
    ITOS
    NATIVE Debug.log
    PUSH32 0x18000
    PUSH32 1
    LT16
    ITOS
    NATIVE Debug.log
    PUSH32 0x81
    PUSH32 1
    SHL8
    ITOS
    NATIVE Debug.log
    PUSH32 0x81
    PUSH32 40
    SHR8
    ITOS
    NATIVE Debug.log
    PUSH32 0x1FF
    TOBYTE
    ITOS
    NATIVE Debug.log
    PUSH32 0x17F
    PUSH32 0x180
    SEXT8 2
    ADD
    ITOS
    NATIVE Debug.log
    ; comparisons are signed
    PUSH32 -1
    PUSH32 1
    LT
    ITOS
    NATIVE Debug.log
    PUSH32 2
    PUSH32 2
    GE
    ITOS
    NATIVE Debug.log
    RET 0, 0
