; Fixed group (11): every failure reaches the application as a managed exception. The image's
; vminternalthrow logs the error text and throws an Err object to the handler of each check;
; a check that does not fail logs "no error" and exits.
.class Err
.function @main main
.function @internalthrow onerror

main:
    TRY Err, e0                     ; 9 bytes: the NATIVE's last operand byte is at 11
unknown1:
    NATIVE Fixed, 0
    ENDTRY -1
    JMP32 noerror
e0: FRAME8 -1
    TRY Err, e1
unknown2:
    NATIVE Fixed, 31
    ENDTRY -1
    JMP32 noerror
e1: FRAME8 -1
    ; null fixed references: fromReference, compound assignments, increment, decrement, text
    TRY Err, e2
    PUSH32 0
    NATIVE Fixed.fromReference
    ENDTRY -1
    JMP32 noerror
e2: FRAME8 -1
    TRY Err, e3
    PUSH32 0
    PUSH64 0x100000000
    NATIVE Fixed.addAssign
    ENDTRY -1
    JMP32 noerror
e3: FRAME8 -1
    TRY Err, e4
    PUSH32 0
    PUSH64 0x100000000
    NATIVE Fixed.subtractAssign
    ENDTRY -1
    JMP32 noerror
e4: FRAME8 -1
    TRY Err, e5
    PUSH32 0
    PUSH64 0x100000000
    NATIVE Fixed.multiplyAssign
    ENDTRY -1
    JMP32 noerror
e5: FRAME8 -1
    TRY Err, e6
    PUSH32 0
    PUSH64 0x100000000
    NATIVE Fixed.divideAssign
    ENDTRY -1
    JMP32 noerror
e6: FRAME8 -1
    TRY Err, e7
    PUSH32 0
    NATIVE Fixed.increment
    ENDTRY -1
    JMP32 noerror
e7: FRAME8 -1
    TRY Err, e8
    PUSH32 0
    NATIVE Fixed.decrement
    ENDTRY -1
    JMP32 noerror
e8: FRAME8 -1
    TRY Err, e9
    PUSH32 0
    PUSH32 2
    NATIVE Fixed.toStringDecimals
    ENDTRY -1
    JMP32 noerror
e9: FRAME8 -1
    TRY Err, e10
    PUSH32 0
    NATIVE Fixed.toString
    ENDTRY -1
    JMP32 noerror
e10: FRAME8 -1
    ; a null string to parse
    TRY Err, e11
    PUSH32 0
    NATIVE Fixed.parse
    ENDTRY -1
    JMP32 noerror
e11: FRAME8 -1
    ; malformed numbers
    TRY Err, e12
    PUSHSTR "3."
    NATIVE Fixed.parse
    ENDTRY -1
    JMP32 noerror
e12: FRAME8 -1
    TRY Err, e13
    PUSHSTR ".5"
    NATIVE Fixed.parse
    ENDTRY -1
    JMP32 noerror
e13: FRAME8 -1
    TRY Err, e14
    PUSHSTR "   "
    NATIVE Fixed.parse
    ENDTRY -1
    JMP32 noerror
e14: FRAME8 -1
    TRY Err, e15
    PUSHSTR "-+1"
    NATIVE Fixed.parse
    ENDTRY -1
    JMP32 noerror
e15: FRAME8 -1
    ; divide and divideAssign by zero are MathException, not DivisionByZeroException
    TRY Err, e16
    PUSH64 0x100000000
    PUSH64 0
    NATIVE Fixed.divide
    ENDTRY -1
    JMP32 noerror
e16: FRAME8 -1
    TRY Err, e17
    PUSH64 0x500000000
    MKBLOCK8 2
    PUSH64 0
    NATIVE Fixed.divideAssign
    ENDTRY -1
    JMP32 noerror
e17: FRAME8 -1
    ; pow(0, -1) and pow(-2, 0.5)
    TRY Err, e18
    PUSH64 0
    PUSH64 -0x100000000
    NATIVE Fixed.pow
    ENDTRY -1
    JMP32 noerror
e18: FRAME8 -1
    TRY Err, e19
    PUSH64 -0x200000000
    PUSH64 0x80000000
    NATIVE Fixed.pow
    ENDTRY -1
    JMP32 noerror
e19: FRAME8 -1
    ; decimals below -1, and more than the formatter writes
    TRY Err, e20
    PUSH64 0x100000000
    MKBLOCK8 2
    PUSH32 -2
    NATIVE Fixed.toStringDecimals
    ENDTRY -1
    JMP32 noerror
e20: FRAME8 -1
    TRY Err, e21
    PUSH64 0x100000000
    MKBLOCK8 2
    PUSH32 2147483647
    NATIVE Fixed.toStringDecimals
    ENDTRY -1
    JMP32 noerror
e21: FRAME8 -1
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
