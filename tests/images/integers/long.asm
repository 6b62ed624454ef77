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
    NATIVE Debug, 1
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
    NATIVE Debug, 1
    PUSH0
e1:
    FRAME8 -1

    PUSH64 0x7fffffffffffffff
    PUSH64 1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 5            ; add wraps
    NATIVE Long, 34
    NATIVE Debug, 1           ; -9223372036854775808
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 7            ; multiply keeps the low 64 bits
    NATIVE Long, 34
    NATIVE Debug, 1           ; 9223372036854775807

    PUSH64 -7
    PUSH64 2
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 8            ; divide truncates toward zero
    NATIVE Long, 34
    NATIVE Debug, 1           ; -3
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 9            ; remainder has the dividend's sign
    NATIVE Long, 34
    NATIVE Debug, 1           ; -1

    PUSH64 0x8000000000000000
    PUSH64 -1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 8            ; the most negative long / -1 wraps to itself
    NATIVE Long, 34
    NATIVE Debug, 1           ; -9223372036854775808
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 17           ; remainderAssign by -1
    PUSHGLOBALS
    NATIVE Long, 34
    NATIVE Debug, 1           ; 0

    PUSH64 5
    PUSH64 0
    CALL setxy, none
    TRY Oops, d1
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 8
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
d1:
    FRAME8 -1
    TRY Oops, d2
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 16           ; divideAssign
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
d2:
    FRAME8 -1
    PUSHGLOBALS
    NATIVE Long, 34
    NATIVE Debug, 1           ; 5: the failed assignment wrote nothing

    PUSH64 1
    PUSH64 63
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 27           ; 1 << 63
    NATIVE Long, 34
    NATIVE Debug, 1           ; -9223372036854775808
    PUSH64 -1
    PUSH64 64
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 28           ; -1 >> 64: every bit shifted out
    NATIVE Long, 34
    NATIVE Debug, 1           ; 0
    PUSH64 -16
    PUSH64 -2
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 27           ; a negative count shifts the other way
    NATIVE Long, 34
    NATIVE Debug, 1           ; -4
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 33           ; shiftRightAssign by -2
    PUSHGLOBALS
    NATIVE Long, 34
    NATIVE Debug, 1           ; -64

    PUSH64 -1
    PUSH64 1
    CALL setxy, none
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 19           ; less gives 1
    ITOS
    NATIVE Debug, 1           ; 1
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 18           ; equals gives 0
    ITOS
    NATIVE Debug, 1           ; 0
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 23           ; greaterOrEqual
    ITOS
    NATIVE Debug, 1           ; 0

    PUSH64 42
    PUSH64 0
    CALL setxy, none
    PUSHGLOBALS               ; negate reads the slot below the top and overwrites the top
    PUSH32 99
    NATIVE Long, 10
    NATIVE Long, 34
    NATIVE Debug, 1           ; -42
    NATIVE Long, 34           ; the slot below is still X
    NATIVE Debug, 1           ; 42
    PUSHGLOBALS
    NATIVE Long, 11           ; increment
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    NATIVE Long, 2            ; assign(Y, X): Y = X
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Long, 34
    NATIVE Debug, 1           ; 43
    PUSHGLOBALS
    NATIVE Long, 1            ; clear
    PUSHGLOBALS
    NATIVE Long, 34
    NATIVE Debug, 1           ; 0

    PUSH64 0x123456789
    PUSH64 0
    CALL setxy, none
    PUSHGLOBALS
    NATIVE Long, 37           ; toInt: the low word
    ITOS
    NATIVE Debug, 1           ; 591751049
    PUSH32 -3
    NATIVE Long, 38           ; fromInt sign-extends
    NATIVE Long, 34
    NATIVE Debug, 1           ; -3
    NATIVE Long, 35
    NATIVE Long, 36
    TRY Oops, n1              ; a null long
    PUSH32 0
    NATIVE Long, 34
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
n1:
    FRAME8 -1
    ITOS
    NATIVE Debug, 1           ; 77: the sentinel
    RET 0, 0
