; Fixed group (11): constructors, saturating arithmetic, compound assignments, comparisons,
; rounding and the limits. Values are built by parsing text (op 4); results are logged with
; toString (op 25) on a two-word block made by MKBLOCK8 2, or with ITOS for ints.
.function @main main

main:
    ; fromReference (1): the 8 bytes of a block become a value again
    PUSHSTR "-7.25"
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.fromReference
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; -7.25
    ; fromByte (2): only the low byte counts, sign-extended
    PUSH32 0x1FF
    NATIVE Fixed.fromByte
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; -1.0
    ; fromInt (3)
    PUSH32 2147483647
    NATIVE Fixed.fromInt
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 2147483647.0
    ; abs (5) of MIN saturates to MAX
    NATIVE Fixed.minValue
    NATIVE Fixed.abs
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; abs of -2.5
    PUSHSTR "-2.5"
    NATIVE Fixed.parse
    NATIVE Fixed.abs
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 2.5
    ; negate (6) of MAX gives MIN
    NATIVE Fixed.maxValue
    NATIVE Fixed.negate
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; -2147483648.0
    ; add (7): MAX + 1.0 stays MAX; 1.5 + -4 = -2.5
    NATIVE Fixed.maxValue
    PUSH32 1
    NATIVE Fixed.fromInt
    NATIVE Fixed.add
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    PUSHSTR "-4"
    NATIVE Fixed.parse
    NATIVE Fixed.add
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; subtract (8): MIN - 1.0 stays MIN
    NATIVE Fixed.minValue
    PUSH32 1
    NATIVE Fixed.fromInt
    NATIVE Fixed.subtract
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; multiply (9): 2.0 x -3.5 = -7.0; 65536.0 x 65536.0 saturates to MAX
    PUSHSTR "2"
    NATIVE Fixed.parse
    PUSHSTR "-3.5"
    NATIVE Fixed.parse
    NATIVE Fixed.multiply
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "65536"
    NATIVE Fixed.parse
    PUSHSTR "65536"
    NATIVE Fixed.parse
    NATIVE Fixed.multiply
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; divide (10): 7 / -2 = -3.5; 1 / 3 truncated
    PUSHSTR "7"
    NATIVE Fixed.parse
    PUSHSTR "-2"
    NATIVE Fixed.parse
    NATIVE Fixed.divide
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSH32 1
    NATIVE Fixed.fromInt
    PUSH32 3
    NATIVE Fixed.fromInt
    NATIVE Fixed.divide
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; pow (11): (-2)^3 = -8; 2^-2 = 0.25; 0.001^1000 underflows to 0; x^0 = 1 even for 0
    PUSHSTR "-2"
    NATIVE Fixed.parse
    PUSHSTR "3"
    NATIVE Fixed.parse
    NATIVE Fixed.pow
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "2"
    NATIVE Fixed.parse
    PUSHSTR "-2"
    NATIVE Fixed.parse
    NATIVE Fixed.pow
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "0.001"
    NATIVE Fixed.parse
    PUSHSTR "1000"
    NATIVE Fixed.parse
    NATIVE Fixed.pow
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSH64 0
    PUSH64 0
    NATIVE Fixed.pow
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; compound assignments (12-17) through the address of a block holding 10.0
    PUSHSTR "10"
    NATIVE Fixed.parse
    MKBLOCK8 2                      ; the block's address stays on the stack below
    DUP
    PUSHSTR "2.5"
    NATIVE Fixed.parse
    NATIVE Fixed.addAssign          ; += 2.5
    DUP
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 12.5
    DUP
    PUSHSTR "0.5"
    NATIVE Fixed.parse
    NATIVE Fixed.subtractAssign     ; -= 0.5
    DUP
    PUSHSTR "-2"
    NATIVE Fixed.parse
    NATIVE Fixed.multiplyAssign     ; *= -2
    DUP
    NATIVE Fixed.toString
    NATIVE Debug.log                ; -24.0
    DUP
    PUSHSTR "8"
    NATIVE Fixed.parse
    NATIVE Fixed.divideAssign       ; /= 8
    DUP
    NATIVE Fixed.increment          ; ++
    DUP
    NATIVE Fixed.decrement          ; --
    DUP
    NATIVE Fixed.decrement          ; --
    NATIVE Fixed.toString
    NATIVE Debug.log                ; -4.0
    ; increment saturates at MAX
    NATIVE Fixed.maxValue
    MKBLOCK8 2
    DUP
    NATIVE Fixed.increment
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; comparisons (18-23): 1.5 against 1.25 differs only in the low word
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    NATIVE Fixed.equals             ; equals
    ITOS
    NATIVE Debug.log                ; 1
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    PUSHSTR "1.25"
    NATIVE Fixed.parse
    NATIVE Fixed.notEquals          ; notEquals
    ITOS
    NATIVE Debug.log                ; 1
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    PUSHSTR "1.25"
    NATIVE Fixed.parse
    NATIVE Fixed.less               ; less
    ITOS
    NATIVE Debug.log                ; 0
    PUSHSTR "-1"
    NATIVE Fixed.parse
    PUSHSTR "0.5"
    NATIVE Fixed.parse
    NATIVE Fixed.lessOrEqual        ; lessOrEqual
    ITOS
    NATIVE Debug.log                ; 1
    PUSHSTR "1.5"
    NATIVE Fixed.parse
    PUSHSTR "1.25"
    NATIVE Fixed.parse
    NATIVE Fixed.greater            ; greater
    ITOS
    NATIVE Debug.log                ; 1
    NATIVE Fixed.minValue
    PUSH64 0
    NATIVE Fixed.greaterOrEqual     ; greaterOrEqual
    ITOS
    NATIVE Debug.log                ; 0
    ; round (26), ceil (27), floor (28)
    PUSHSTR "2.5"
    NATIVE Fixed.parse
    NATIVE Fixed.round
    ITOS
    NATIVE Debug.log                ; 3
    PUSHSTR "-2.5"
    NATIVE Fixed.parse
    NATIVE Fixed.round
    ITOS
    NATIVE Debug.log                ; -3
    PUSHSTR "-2.4"
    NATIVE Fixed.parse
    NATIVE Fixed.round
    ITOS
    NATIVE Debug.log                ; -2
    NATIVE Fixed.maxValue
    NATIVE Fixed.round
    ITOS
    NATIVE Debug.log                ; 2147483647
    PUSHSTR "-0.5"
    NATIVE Fixed.parse
    NATIVE Fixed.ceil
    ITOS
    NATIVE Debug.log                ; 0
    NATIVE Fixed.maxValue
    NATIVE Fixed.ceil
    ITOS
    NATIVE Debug.log                ; 2147483647
    PUSHSTR "-0.5"
    NATIVE Fixed.parse
    NATIVE Fixed.floor
    ITOS
    NATIVE Debug.log                ; -1
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
