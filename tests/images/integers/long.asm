; The Long group: longs live in global words (two each, low word first) and are passed by
; address; value results are new longs, logged through toString (34). Covers wrapping, sound
; division (by zero, most negative by -1), shifts by counts outside 0..63, comparisons giving
; 1/0, negate's odd stack use (op 10), conversions, the no-ops 35/36 and the rejected op 4.
.globals 6                    ; X at 0, Y at 2, Z at 4
.class Oops
.function @init init
.function @main main
.function @internalthrow onerror

init:
    RET 0, 0

onerror:                      ; (code, message): log the message, throw an Oops
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

setxy:                        ; (x low, x high, y low, y high): X and Y
    PUSHGLOBALS
    FLDADDR8 2
    LDLOC8 -4
    LDLOC8 -4
    STOREN8 2                 ; Y
    PUSHGLOBALS
    LDLOC8 -6
    LDLOC8 -6
    STOREN8 2                 ; X
    RET 0, 5

main:
    PUSH32 77                 ; sentinel
    TRY Oops, e1              ; operation 4 is rejected
    NATIVE Long, 4
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
e1:
    FRAME8 -1

    PUSH64 0x7fffffffffffffff
    PUSH64 1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.add           ; add wraps
    NATIVE Long.toString
    NATIVE Debug.log          ; -9223372036854775808
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.multiply      ; multiply keeps the low 64 bits
    NATIVE Long.toString
    NATIVE Debug.log          ; 9223372036854775807

    PUSH64 -7
    PUSH64 2
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.divide        ; divide truncates toward zero
    NATIVE Long.toString
    NATIVE Debug.log          ; -3
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.remainder     ; remainder has the dividend's sign
    NATIVE Long.toString
    NATIVE Debug.log          ; -1

    PUSH64 0x8000000000000000
    PUSH64 -1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.divide        ; the most negative long / -1 wraps to itself
    NATIVE Long.toString
    NATIVE Debug.log          ; -9223372036854775808
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.remainderAssign ; remainderAssign by -1
    PUSHGLOBALS
    NATIVE Long.toString
    NATIVE Debug.log          ; 0

    PUSH64 5
    PUSH64 0
    CALL setxy, none
    TRY Oops, d1
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.divide
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
d1:
    FRAME8 -1
    TRY Oops, d2
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.divideAssign  ; divideAssign
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
d2:
    FRAME8 -1
    PUSHGLOBALS
    NATIVE Long.toString
    NATIVE Debug.log          ; 5: the failed assignment wrote nothing

    PUSH64 1
    PUSH64 63
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.shiftLeft     ; 1 << 63
    NATIVE Long.toString
    NATIVE Debug.log          ; -9223372036854775808
    PUSH64 -1
    PUSH64 64
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.shiftRight    ; -1 >> 64: every bit shifted out
    NATIVE Long.toString
    NATIVE Debug.log          ; 0
    PUSH64 -16
    PUSH64 -2
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.shiftLeft     ; a negative count shifts the other way
    NATIVE Long.toString
    NATIVE Debug.log          ; -4
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.shiftRightAssign ; shiftRightAssign by -2
    PUSHGLOBALS
    NATIVE Long.toString
    NATIVE Debug.log          ; -64

    PUSH64 -1
    PUSH64 1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.less          ; less gives 1
    ITOS
    NATIVE Debug.log          ; 1
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.equals        ; equals gives 0
    ITOS
    NATIVE Debug.log          ; 0
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.greaterOrEqual ; greaterOrEqual
    ITOS
    NATIVE Debug.log          ; 0

    PUSH64 42
    PUSH64 0
    CALL setxy, none
    PUSHGLOBALS               ; negate reads the slot below the top and overwrites the top
    PUSH32 99
    NATIVE Long.negate
    NATIVE Long.toString
    NATIVE Debug.log          ; -42
    NATIVE Long.toString      ; the slot below is still X
    NATIVE Debug.log          ; 42
    PUSHGLOBALS
    NATIVE Long.increment     ; increment
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    NATIVE Long.assign        ; assign(Y, X): Y = X
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long.toString
    NATIVE Debug.log          ; 43
    PUSHGLOBALS
    NATIVE Long.clear         ; clear
    PUSHGLOBALS
    NATIVE Long.toString
    NATIVE Debug.log          ; 0

    PUSH64 0x123456789
    PUSH64 0
    CALL setxy, none
    PUSHGLOBALS
    NATIVE Long.toInt         ; toInt: the low word
    ITOS
    NATIVE Debug.log          ; 591751049
    PUSH32 -3
    NATIVE Long.fromInt       ; fromInt sign-extends
    NATIVE Long.toString
    NATIVE Debug.log          ; -3
    NATIVE Long.nop35
    NATIVE Long.nop36
    TRY Oops, n1              ; a null long
    PUSH32 0
    NATIVE Long.toString
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
n1:
    FRAME8 -1
    ITOS
    NATIVE Debug.log          ; 77: the sentinel
    RET 0, 0
