; Fixed group (11): parse (4), toStringDecimals (24) and toString (25) corner cases.
.function @main main

main:
    PUSHSTR " +-3.25"               ; white space, plus signs, one minus
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "12abc"                 ; trailing text is ignored
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "99999999999"           ; saturates
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "-99999999999"
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "0.1"                   ; floor(0.1 * 2^32), printed exactly
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSHSTR "0.000000000000000000000000000001"
    NATIVE Fixed, 4
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 0.0
    PUSHSTR "1.0000000000000000000000000000000000000000000000000000000000000000000000"
    NATIVE Fixed, 4                 ; seventy zeros: the power of ten must not wrap
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 1.0
    ; toStringDecimals rounds half up
    PUSHSTR "2.999"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 3.00
    PUSHSTR "0.5"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 1
    PUSHSTR "2147483647.9"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 2147483647: the integer part cannot grow
    PUSHSTR "-2147483647.75"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; -2147483648 is still in range
    PUSHSTR "0.125"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 0.13
    PUSHSTR "1"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 1.000
    NATIVE Fixed, 30
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; 2147483647.99
    PUSHSTR "-1.5"
    NATIVE Fixed, 4
    MKBLOCK8 2
    PUSH32 -1
    NATIVE Fixed, 24
    NATIVE Debug, 1                 ; -1.5
    NATIVE Math, 22                 ; the smallest positive value, all 32 digits
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1
    PUSH32 5
    NATIVE Fixed, 3
    MKBLOCK8 2
    NATIVE Fixed, 25
    NATIVE Debug, 1                 ; 5.0
    PUSHSTR "done"
    NATIVE Debug, 1
    RET 0, 0
