; Fixed group (11): constructors, saturating arithmetic, compound assignments, comparisons,
; rounding and the limits. Values are built by parsing text (op 4); results are logged with
; toString (op 25) on a two-word block made by MKBLOCK8 2, or with ITOS for ints.
.function @main main

main:
    ; fromReference (1): the 8 bytes of a block become a value again
    PUSHSTR "-7.25"
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 1
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; -7.25
    ; fromByte (2): only the low byte counts, sign-extended
    PUSH32 0x1FF
    NATIVE Fixed, 2
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; -1.0
    ; fromInt (3)
    PUSH32 2147483647
    NATIVE Fixed, 3
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 2147483647.0
    ; abs (5) of MIN saturates to MAX
    NATIVE Fixed, 29
    NATIVE Fixed, 5
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; abs of -2.5
    PUSHSTR "-2.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 5
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 2.5
    ; negate (6) of MAX gives MIN
    NATIVE Fixed, 30
    NATIVE Fixed, 6
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; -2147483648.0
    ; add (7): MAX + 1.0 stays MAX; 1.5 + -4 = -2.5
    NATIVE Fixed, 30
    PUSH32 1
    NATIVE Fixed, 3
    NATIVE Fixed, 7
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "-4"
    NATIVE Fixed, 4
    NATIVE Fixed, 7
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; subtract (8): MIN - 1.0 stays MIN
    NATIVE Fixed, 29
    PUSH32 1
    NATIVE Fixed, 3
    NATIVE Fixed, 8
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; multiply (9): 2.0 x -3.5 = -7.0; 65536.0 x 65536.0 saturates to MAX
    PUSHSTR "2"
    NATIVE Fixed, 4
    PUSHSTR "-3.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 9
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "65536"
    NATIVE Fixed, 4
    PUSHSTR "65536"
    NATIVE Fixed, 4
    NATIVE Fixed, 9
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; divide (10): 7 / -2 = -3.5; 1 / 3 truncated
    PUSHSTR "7"
    NATIVE Fixed, 4
    PUSHSTR "-2"
    NATIVE Fixed, 4
    NATIVE Fixed, 10
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSH32 1
    NATIVE Fixed, 3
    PUSH32 3
    NATIVE Fixed, 3
    NATIVE Fixed, 10
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; pow (11): (-2)^3 = -8; 2^-2 = 0.25; 0.001^1000 underflows to 0; x^0 = 1 even for 0
    PUSHSTR "-2"
    NATIVE Fixed, 4
    PUSHSTR "3"
    NATIVE Fixed, 4
    NATIVE Fixed, 11
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "2"
    NATIVE Fixed, 4
    PUSHSTR "-2"
    NATIVE Fixed, 4
    NATIVE Fixed, 11
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "0.001"
    NATIVE Fixed, 4
    PUSHSTR "1000"
    NATIVE Fixed, 4
    NATIVE Fixed, 11
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSH64 0
    PUSH64 0
    NATIVE Fixed, 11
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; compound assignments (12-17) through the address of a block holding 10.0
    PUSHSTR "10"
    NATIVE Fixed, 4
    MKBLOCK8 2                      ; the block's address stays on the stack below
    DUP
    PUSHSTR "2.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 12                ; += 2.5
    DUP
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 12.5
    DUP
    PUSHSTR "0.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 13                ; -= 0.5
    DUP
    PUSHSTR "-2"
    NATIVE Fixed, 4
    NATIVE Fixed, 14                ; *= -2
    DUP
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; -24.0
    DUP
    PUSHSTR "8"
    NATIVE Fixed, 4
    NATIVE Fixed, 15                ; /= 8
    DUP
    NATIVE Fixed, 16                ; ++
    DUP
    NATIVE Fixed, 17                ; --
    DUP
    NATIVE Fixed, 17                ; --
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; -4.0
    ; increment saturates at MAX
    NATIVE Fixed, 30
    MKBLOCK8 2
    DUP
    NATIVE Fixed, 16
    NATIVE Fixed, 25
    NATIVE Debug, 1
    ; comparisons (18-23): 1.5 against 1.25 differs only in the low word
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 18                ; equals
    ITOS
    NATIVE Debug, 1                 ; 1
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "1.25"
    NATIVE Fixed, 4
    NATIVE Fixed, 19                ; notEquals
    ITOS
    NATIVE Debug, 1                 ; 1
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "1.25"
    NATIVE Fixed, 4
    NATIVE Fixed, 20                ; less
    ITOS
    NATIVE Debug, 1                 ; 0
    PUSHSTR "-1"
    NATIVE Fixed, 4
    PUSHSTR "0.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 21                ; lessOrEqual
    ITOS
    NATIVE Debug, 1                 ; 1
    PUSHSTR "1.5"
    NATIVE Fixed, 4
    PUSHSTR "1.25"
    NATIVE Fixed, 4
    NATIVE Fixed, 22                ; greater
    ITOS
    NATIVE Debug, 1                 ; 1
    NATIVE Fixed, 29
    PUSH64 0
    NATIVE Fixed, 23                ; greaterOrEqual
    ITOS
    NATIVE Debug, 1                 ; 0
    ; round (26), ceil (27), floor (28)
    PUSHSTR "2.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 26
    ITOS
    NATIVE Debug, 1                 ; 3
    PUSHSTR "-2.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 26
    ITOS
    NATIVE Debug, 1                 ; -3
    PUSHSTR "-2.4"
    NATIVE Fixed, 4
    NATIVE Fixed, 26
    ITOS
    NATIVE Debug, 1                 ; -2
    NATIVE Fixed, 30
    NATIVE Fixed, 26
    ITOS
    NATIVE Debug, 1                 ; 2147483647
    PUSHSTR "-0.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 27
    ITOS
    NATIVE Debug, 1                 ; 0
    NATIVE Fixed, 30
    NATIVE Fixed, 27
    ITOS
    NATIVE Debug, 1                 ; 2147483647
    PUSHSTR "-0.5"
    NATIVE Fixed, 4
    NATIVE Fixed, 28
    ITOS
    NATIVE Debug, 1                 ; -1
    PUSHSTR "done"
    NATIVE Debug, 1
    RET 0, 0
