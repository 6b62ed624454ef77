; The value groups Color, Position, Size and Rectangle: every operation with its stack
; effect, the refused components and sides, wrapping edges, and each group's unknown operation.
; Globals: 0 a color, 1-2 a position or size, 3-6 a rectangle, 7 another color, 8-9 a size.
; A sentinel below everything is logged last: a wrong stack effect would change it.
.globals 16
.class Oops
.function @main main
.function @internalthrow onerror

; Every managed error is logged with its text and thrown as an Oops.
onerror:
    LDLOC8 -2
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    PUSH32 77
    ; Color: white, composed, refused components leave the color alone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 255
    PUSH32 255
    PUSH32 255
    PUSH32 255
    NATIVE Color, 3
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 18
    PUSH32 52
    PUSH32 86
    PUSH32 120
    NATIVE Color, 3
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug, 1
    TRY -1, e1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 2
    PUSH32 3
    PUSH32 256
    NATIVE Color, 3
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e1:
    FRAME8 -1
    TRY -1, e2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    PUSH32 2
    PUSH32 3
    PUSH32 4
    NATIVE Color, 3
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e2:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 4
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 5
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 6
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 7
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 171
    NATIVE Color, 8
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE Color, 9
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE Color, 10
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 3
    NATIVE Color, 11
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug, 1
    TRY -1, e3
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Color, 8
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 256
    NATIVE Color, 11
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e4:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 7
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color, 2
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    NATIVE Color, 12
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSH32 5
    NATIVE Color, 12
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    NATIVE Color, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSH32 5
    NATIVE Color, 13
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 14
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 15
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 16
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 17
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 18
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 19
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 20
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 21
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 22
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 23
    ITOS
    NATIVE Debug, 1
    NATIVE Color, 24
    ITOS
    NATIVE Debug, 1
    TRY -1, e5
    NATIVE Color, 25
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e5:
    FRAME8 -1
    ; Position: any signed values
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 5
    PUSH32 -7
    NATIVE Position, 3
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position, 4
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position, 5
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -9
    NATIVE Position, 6
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 11
    NATIVE Position, 7
    PUSHGLOBALS
    FLDADDR8 8
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position, 2
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position, 1
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Position, 4
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Position, 5
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position, 4
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position, 8
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position, 8
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position, 9
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position, 9
    ITOS
    NATIVE Debug, 1
    TRY -1, e6
    NATIVE Position, 10
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e6:
    FRAME8 -1
    ; Size: negative sides are refused and change nothing
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 4
    NATIVE Size, 3
    TRY -1, e7
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 4
    NATIVE Size, 3
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e7:
    FRAME8 -1
    TRY -1, e8
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 -1
    NATIVE Size, 3
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE Size, 6
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e9:
    FRAME8 -1
    TRY -1, e10
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE Size, 7
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e10:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size, 4
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size, 5
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 8
    NATIVE Size, 6
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    NATIVE Size, 7
    PUSHGLOBALS
    FLDADDR8 8
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size, 2
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size, 1
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Size, 4
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Size, 5
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size, 4
    ITOS
    NATIVE Debug, 1
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size, 8
    ITOS
    NATIVE Debug, 1
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size, 9
    ITOS
    NATIVE Debug, 1
    TRY -1, e11
    NATIVE Size, 10
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e11:
    FRAME8 -1
    ; Rectangle
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 5
    PUSH32 5
    PUSH32 10
    PUSH32 10
    NATIVE Rectangle, 3
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 6
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 7
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 9
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 10
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 11
    ITOS
    NATIVE Debug, 1
    ; position and size push one word more: y (height) is on top
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 4
    ITOS
    NATIVE Debug, 1
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 5
    ITOS
    NATIVE Debug, 1
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 2
    NATIVE Rectangle, 12
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -3
    PUSH32 4
    NATIVE Rectangle, 13
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 6
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 7
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 9
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 7
    NATIVE Rectangle, 14
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 8
    NATIVE Rectangle, 15
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 20
    NATIVE Rectangle, 16
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 30
    NATIVE Rectangle, 17
    TRY -1, e12
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -1
    NATIVE Rectangle, 16
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e12:
    FRAME8 -1
    TRY -1, e13
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -1
    NATIVE Rectangle, 17
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e13:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 6
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 7
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 9
    ITOS
    NATIVE Debug, 1
    ; edges: below x raises, equal to x gives width 0
    TRY -1, e14
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 6
    NATIVE Rectangle, 18
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e14:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 7
    NATIVE Rectangle, 18
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 27
    NATIVE Rectangle, 18
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 8
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 13
    NATIVE Rectangle, 19
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 9
    ITOS
    NATIVE Debug, 1
    ; a side that does not fit a word is refused; edges wrap as the machine adds
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -2147483648
    NATIVE Rectangle, 15
    TRY -1, e15
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 2147483647
    NATIVE Rectangle, 19
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e15:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 2147483647
    NATIVE Rectangle, 14
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 10
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 11
    ITOS
    NATIVE Debug, 1
    ; copy, clear, equals over eight words
    PUSHGLOBALS
    FLDADDR8 7
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 2
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle, 20
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle, 21
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 1
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle, 20
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle, 21
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle, 10
    ITOS
    NATIVE Debug, 1
    TRY -1, e16
    NATIVE Rectangle, 22
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e16:
    FRAME8 -1
    ITOS
    NATIVE Debug, 1
    RET 0, 1
