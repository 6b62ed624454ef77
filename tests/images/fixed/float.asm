; Float group (36): conversion from fixed-point, arithmetic, compound assignments through a
; float reference, "%g"-style text, and the unknown-operation message (operation number).
.class Err
.function @main main
.function @internalthrow onerror

main:
    ; fromFixed (0)
    PUSHSTR "-2.5"
    NATIVE Fixed.parse
    NATIVE Float.fromFixed
    NATIVE Float.toString
    NATIVE Debug.log                ; -2.5
    PUSHSTR "0.1"
    NATIVE Fixed.parse
    NATIVE Float.fromFixed          ; the float nearest to floor(0.1 * 2^32) / 2^32
    NATIVE Float.toString
    NATIVE Debug.log                ; 0.1
    ; add (1), subtract (2), multiply (3), divide (4)
    PUSH32 0x3FC00000               ; 1.5
    PUSH32 0x40100000               ; 2.25
    NATIVE Float.add
    NATIVE Float.toString
    NATIVE Debug.log                ; 3.75
    PUSH32 0x3F800000               ; 1
    PUSH32 0x40400000               ; 3
    NATIVE Float.subtract
    NATIVE Float.toString
    NATIVE Debug.log                ; -2
    PUSH32 0x3FC00000               ; 1.5
    PUSH32 0xC0000000               ; -2
    NATIVE Float.multiply
    NATIVE Float.toString
    NATIVE Debug.log                ; -3
    PUSH32 0x3F800000               ; 1
    PUSH32 0x40800000               ; 4
    NATIVE Float.divide
    NATIVE Float.toString
    NATIVE Debug.log                ; 0.25
    PUSH32 0x3F800000               ; 1 / 0: infinity, no exception
    PUSH32 0
    NATIVE Float.divide
    NATIVE Float.toString
    NATIVE Debug.log                ; inf
    ; negate (5)
    PUSH32 0x40000000
    NATIVE Float.negate
    NATIVE Float.toString
    NATIVE Debug.log                ; -2
    ; compound assignments (6-9) through a boxed word holding 1.5
    PUSH32 0x3FC00000
    BOXW
    DUP
    PUSH32 0x40000000               ; += 2 -> 3.5
    NATIVE Float.addAssign
    DUP
    PUSH32 0x3F800000               ; -= 1 -> 2.5
    NATIVE Float.subtractAssign
    DUP
    PUSH32 0x40800000               ; *= 4 -> 10
    NATIVE Float.multiplyAssign
    DUP
    PUSH32 0x40800000               ; /= 4 -> 2.5
    NATIVE Float.divideAssign
    LOAD
    NATIVE Float.toString
    NATIVE Debug.log                ; 2.5
    ; toString (10): six significant digits, exponent form below 1e-4 and from 1e6
    PUSH32 0x3F800000
    NATIVE Float.toString
    NATIVE Debug.log                ; 1
    PUSH32 0x3DCCCCCD
    NATIVE Float.toString
    NATIVE Debug.log                ; 0.1
    PUSH32 0x49742400
    NATIVE Float.toString
    NATIVE Debug.log                ; 1e+06
    PUSH32 0x497423F0
    NATIVE Float.toString
    NATIVE Debug.log                ; 999999
    PUSH32 0x4CEB79A3
    NATIVE Float.toString
    NATIVE Debug.log                ; 1.23457e+08
    PUSH32 0x38D1B717
    NATIVE Float.toString
    NATIVE Debug.log                ; 0.0001
    PUSH32 0x3727C5AC
    NATIVE Float.toString
    NATIVE Debug.log                ; 1e-05
    PUSH32 0
    NATIVE Float.toString
    NATIVE Debug.log                ; 0
    ; failures: a null float reference; an unknown operation names its number
    TRY Err, e1
    PUSH32 0
    PUSH32 0x3F800000
    NATIVE Float.addAssign
    ENDTRY -1
    JMP32 noerror
e1: FRAME8 -1
    TRY Err, e2
    NATIVE Float, 11
    ENDTRY -1
    JMP32 noerror
e2: FRAME8 -1
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
