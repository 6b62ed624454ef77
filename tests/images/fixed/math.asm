; Math group (26): trigonometry, logarithms and roots (logged with 6 decimals through
; Fixed op 24 to stay clear of the last bits of the C library), their failures, minimum and
; maximum, and the constants.
.class Err
.function @main main
.function @internalthrow onerror

main:
    TRY Err, e0                     ; the NATIVE's last operand byte is at 11
    NATIVE Math, 0
    ENDTRY -1
    JMP32 noerror
e0: FRAME8 -1
    TRY Err, e1
    NATIVE Math, 23
    ENDTRY -1
    JMP32 noerror
e1: FRAME8 -1
    ; sin (1) of pi / 2
    NATIVE Math.pi
    PUSH64 0x200000000
    NATIVE Fixed.divide
    NATIVE Math.sin
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.000000
    ; cos (2) of 0 is exactly 1; of pi
    PUSH64 0
    NATIVE Math.cos
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 1.0
    NATIVE Math.pi
    NATIVE Math.cos
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; -1.000000
    ; tan (3) of pi / 4
    NATIVE Math.pi
    PUSH64 0x400000000
    NATIVE Fixed.divide
    NATIVE Math.tan
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.000000
    ; asin (4) of 1, acos (5) of -1, atan (6) of 1
    PUSH64 0x100000000
    NATIVE Math.asin
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.570796
    PUSH64 -0x100000000
    NATIVE Math.acos
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 3.141593
    PUSH64 0x100000000
    NATIVE Math.atan
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 0.785398
    ; toDegrees (7): pi; a hair above 2 pi counts as 2 pi; -1 radian exactly
    NATIVE Math.pi
    NATIVE Math.toDegrees
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 180.000000
    PUSH64 0x6487EFFFF
    NATIVE Math.toDegrees
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 360.000000
    PUSH64 -0x100000000
    NATIVE Math.toDegrees
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; toRadians (8) of 180 and -90
    PUSH64 0xB400000000
    NATIVE Math.toRadians
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 3.141593
    PUSH64 -0x5A00000000
    NATIVE Math.toRadians
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; -1.570796
    ; sqrt (9) of 2 and 4
    PUSH64 0x200000000
    NATIVE Math.sqrt
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.414214
    PUSH64 0x400000000
    NATIVE Math.sqrt
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 2.0
    ; log (10): log(8, 2) is 3 within fixed-point precision, log(5, 5) exactly 1
    PUSH64 0x800000000
    PUSH64 0x200000000
    NATIVE Math.log
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 3.000000
    PUSH64 0x500000000
    PUSH64 0x500000000
    NATIVE Math.log
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 1.0
    ; ln (11) of e
    NATIVE Math.e
    NATIVE Math.ln
    MKBLOCK8 2
    PUSH32 6
    NATIVE Fixed.toStringDecimals
    NATIVE Debug.log                ; 1.000000
    ; minByte (14), maxByte (17) on sign-extended low bytes
    PUSH32 0x17F
    PUSH32 0x80
    NATIVE Math.minByte
    ITOS
    NATIVE Debug.log                ; -128
    PUSH32 0xFF
    PUSH32 0x01
    NATIVE Math.maxByte
    ITOS
    NATIVE Debug.log                ; 1
    ; minInt (15), maxInt (18)
    PUSH32 -5
    PUSH32 3
    NATIVE Math.minInt
    ITOS
    NATIVE Debug.log                ; -5
    PUSH32 -5
    PUSH32 3
    NATIVE Math.maxInt
    ITOS
    NATIVE Debug.log                ; 3
    ; minFixed (16), maxFixed (19): 1.5 and 1.25 differ in the low word only
    PUSH64 0x180000000
    PUSH64 0x140000000
    NATIVE Math.minFixed
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 1.25
    PUSH64 0x180000000
    PUSH64 0x140000000
    NATIVE Math.maxFixed
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 1.5
    ; e (20), pi (21), epsilon (22)
    NATIVE Math.e
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    NATIVE Math.pi
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    NATIVE Math.epsilon
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log
    ; failures, all MathException
    TRY Err, f1                     ; tan of pi / 2 saturates
    NATIVE Math.pi
    PUSH64 0x200000000
    NATIVE Fixed.divide
    NATIVE Math.tan
    ENDTRY -1
    JMP32 noerror
f1: FRAME8 -1
    TRY Err, f2                     ; asin of 1 + 2^-32
    PUSH64 0x100000001
    NATIVE Math.asin
    ENDTRY -1
    JMP32 noerror
f2: FRAME8 -1
    TRY Err, f3                     ; acos of -2
    PUSH64 -0x200000000
    NATIVE Math.acos
    ENDTRY -1
    JMP32 noerror
f3: FRAME8 -1
    TRY Err, f4                     ; toDegrees just past the 2 pi tolerance
    PUSH64 0x6487F0000
    NATIVE Math.toDegrees
    ENDTRY -1
    JMP32 noerror
f4: FRAME8 -1
    TRY Err, f5                     ; toRadians of -361
    PUSH64 -0x16900000000
    NATIVE Math.toRadians
    ENDTRY -1
    JMP32 noerror
f5: FRAME8 -1
    TRY Err, f6                     ; sqrt of -2^-32
    PUSH64 -1
    NATIVE Math.sqrt
    ENDTRY -1
    JMP32 noerror
f6: FRAME8 -1
    TRY Err, f7                     ; log to base 1
    PUSH64 0x500000000
    PUSH64 0x100000000
    NATIVE Math.log
    ENDTRY -1
    JMP32 noerror
f7: FRAME8 -1
    TRY Err, f8                     ; log to base -1
    PUSH64 0x500000000
    PUSH64 -0x100000000
    NATIVE Math.log
    ENDTRY -1
    JMP32 noerror
f8: FRAME8 -1
    TRY Err, f9                     ; log of a negative number
    PUSH64 -0x500000000
    PUSH64 0x200000000
    NATIVE Math.log
    ENDTRY -1
    JMP32 noerror
f9: FRAME8 -1
    TRY Err, f10                    ; ln of 0
    PUSH64 0
    NATIVE Math.ln
    ENDTRY -1
    JMP32 noerror
f10: FRAME8 -1
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0

noerror:
    PUSHSTR "no error"
    NATIVE Debug.log
    NATIVE System.exit

onerror:                            ; code, message, return address
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Err
    THROW
