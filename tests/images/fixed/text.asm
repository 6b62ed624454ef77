; Fixed group (11): parse (4), toStringDecimals (24) and toString (25) corner cases.
.function @main main

main:
    PUSHSTR " +-3.25"               ; white space, plus signs, one minus
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "12abc"                 ; trailing text is ignored
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "99999999999"           ; saturates
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "-99999999999"
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "0.1"                   ; floor(0.1 * 2^32), printed exactly
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSHSTR "0.000000000000000000000000000001"
    NATIVE Fixed.parse
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 0.0
    PUSHSTR "1.0000000000000000000000000000000000000000000000000000000000000000000000"
    NATIVE Fixed.parse              ; seventy zeros: the power of ten must not wrap
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 1.0
    ; toStringDecimals rounds half up
    PUSHSTR "2.999"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 3.00
    PUSHSTR "0.5"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1
    PUSHSTR "2147483647.9"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 2147483647: the integer part cannot grow
    PUSHSTR "-2147483647.75"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 0
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; -2147483648 is still in range
    PUSHSTR "0.125"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 0.13
    PUSHSTR "1"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.000
    NATIVE Fixed.maxValue
    MKBLOCK8 2
    PUSH32 2
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 2147483647.99
    PUSHSTR "-1.5"
    NATIVE Fixed.parse
    MKBLOCK8 2
    PUSH32 -1
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; -1.5
    NATIVE Math.epsilon             ; the smallest positive value, all 32 digits
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    PUSH32 5
    NATIVE Fixed.fromInt
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 5.0
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
