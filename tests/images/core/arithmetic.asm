; Integer semantics of the instruction set: wrap-around, division and shift rules, 8-bit forms,
; the two kinds of boolean.
.include "../common.inc"
.function @main main

.string "begin"

main:
    ; most negative int / -1 stays itself; % -1 is 0
    PUSH32 0x80000000
    PUSH32 -1
    DIV
    logint
    PUSH32 0x80000000
    PUSH32 -1
    MOD
    logint
    ; truncation toward zero
    PUSH32 -7
    PUSH32 2
    DIV
    logint
    PUSH32 -7
    PUSH32 2
    MOD
    logint
    ; wrap-around
    PUSH32 0x7fffffff
    PUSH32 1
    ADD
    logint
    PUSH32 0x80000000
    NEG
    logint
    PUSH32 65536
    PUSH32 65536
    MUL
    logint
    ; shifts: by 32 -> 0; -8 >> 1 -> -4; 1 << -1 -> 0; -8 >> 40 -> 0; 256 << -4 -> 16
    PUSH32 1
    PUSH32 32
    SHL
    logint
    PUSH32 -8
    PUSH32 1
    SHR
    logint
    PUSH32 1
    PUSH32 -1
    SHL
    logint
    PUSH32 -8
    PUSH32 40
    SHR
    logint
    PUSH32 256
    PUSH32 -4
    SHL
    logint
    ; booleans: BEQ 5,-1 -> 1; EQ 5,-1 -> 0; LAND 5,-1 -> -1; NOT 0 -> -1; LXOR
    PUSH32 5
    PUSH32 -1
    BEQ
    logint
    PUSH32 5
    PUSH32 -1
    EQ
    logint
    PUSH32 5
    PUSH32 -1
    LAND
    logint
    PUSH0
    NOT
    logint
    PUSH32 3
    PUSH0
    LXOR
    logint
    PUSH32 3
    PUSH0
    BNE
    logint
    ; 8-bit: -100 / 7 on the low bytes; 0x1F9 (low byte -7) % 3; compares on low bytes
    PUSH32 -100
    PUSH32 7
    DIV8
    logint
    PUSH32 0x1F9
    PUSH32 3
    MOD8
    logint
    PUSH32 0x1FF
    PUSH32 0x0FF
    EQ8
    logint
    PUSH32 0x80
    PUSH32 0x01
    LT8
    logint
    PUSH32 0x18000
    PUSH32 1
    LT16
    logint
    PUSH32 0x81
    PUSH32 1
    SHL8
    logint
    PUSH32 0x81
    PUSH32 40
    SHR8
    logint
    PUSH32 0x1FF
    TOBYTE
    logint
    PUSH32 0x17F
    PUSH32 0x180
    SEXT8 2
    ADD
    logint
    ; comparisons are signed
    PUSH32 -1
    PUSH32 1
    LT
    logint
    PUSH32 2
    PUSH32 2
    GE
    logint
    RET 0, 0
