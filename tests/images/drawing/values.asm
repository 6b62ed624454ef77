; The value groups Color, Position, Size and Rectangle: every operation with its stack
; effect, the refused components and sides, wrapping edges, and each group's unknown operation.
; Globals: 0 a color, 1-2 a position or size, 3-6 a rectangle, 7 another color, 8-9 a size.
; A sentinel below everything is logged last: a wrong stack effect would change it.
.globals 16
.class Oops
.function @main main
.function @internalthrow onerror

; Every managed error is logged with its text and thrown as an Oops; each
; expected failure is such a line, so a failure that does not happen shows.
onerror:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    PUSH32 77
    ; Color: white, composed, refused components leave the color alone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.setWhite
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 255
    PUSH32 255
    PUSH32 255
    PUSH32 255
    NATIVE Color.setRgba
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 18
    PUSH32 52
    PUSH32 86
    PUSH32 120
    NATIVE Color.setRgba
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug.log
    TRY -1, e1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 2
    PUSH32 3
    PUSH32 256
    NATIVE Color.setRgba
    ENDTRY -1
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
    NATIVE Color.setRgba
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.red
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.green
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.blue
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.alpha
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 171
    NATIVE Color.setRed
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE Color.setGreen
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE Color.setBlue
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 3
    NATIVE Color.setAlpha
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug.log
    TRY -1, e3
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Color.setRed
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 256
    NATIVE Color.setAlpha
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 7
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Color.copy
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    NATIVE Color.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSH32 5
    NATIVE Color.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSHGLOBALS
    FLDADDR8 7
    LOAD
    NATIVE Color.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    PUSH32 5
    NATIVE Color.notEquals
    ITOS
    NATIVE Debug.log
    NATIVE Color.redColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.greenColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.blueColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.blackColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.whiteColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.cyanColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.magentaColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.yellowColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.grayColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.brownColor
    ITOS
    NATIVE Debug.log
    NATIVE Color.orangeColor
    ITOS
    NATIVE Debug.log
    TRY -1, e5
    NATIVE Color, 25
    ENDTRY -1
    PUSH0
e5:
    FRAME8 -1
    ; Position: any signed values
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 5
    PUSH32 -7
    NATIVE Position.set
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position.x
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position.y
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -9
    NATIVE Position.setX
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 11
    NATIVE Position.setY
    PUSHGLOBALS
    FLDADDR8 8
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position.copy
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position.clear
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Position.x
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Position.y
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Position.x
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position.equals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position.equals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position.notEquals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position.notEquals
    ITOS
    NATIVE Debug.log
    TRY -1, e6
    NATIVE Position, 10
    ENDTRY -1
    PUSH0
e6:
    FRAME8 -1
    ; Size: negative sides are refused and change nothing
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 4
    NATIVE Size.set
    TRY -1, e7
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 4
    NATIVE Size.set
    ENDTRY -1
    PUSH0
e7:
    FRAME8 -1
    TRY -1, e8
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 -1
    NATIVE Size.set
    ENDTRY -1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE Size.setWidth
    ENDTRY -1
    PUSH0
e9:
    FRAME8 -1
    TRY -1, e10
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE Size.setHeight
    ENDTRY -1
    PUSH0
e10:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size.height
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 8
    NATIVE Size.setWidth
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    NATIVE Size.setHeight
    PUSHGLOBALS
    FLDADDR8 8
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size.copy
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size.clear
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Size.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE Size.height
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE Size.width
    ITOS
    NATIVE Debug.log
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size.equals
    ITOS
    NATIVE Debug.log
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size.notEquals
    ITOS
    NATIVE Debug.log
    TRY -1, e11
    NATIVE Size, 10
    ENDTRY -1
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
    NATIVE Rectangle.set
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.x
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.y
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.height
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.right
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.bottom
    ITOS
    NATIVE Debug.log
    ; position and size push one word more: y (height) is on top
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.position
    ITOS
    NATIVE Debug.log
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.size
    ITOS
    NATIVE Debug.log
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 2
    NATIVE Rectangle.setPosition
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -3
    PUSH32 4
    NATIVE Rectangle.setSize
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.x
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.y
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.height
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 7
    NATIVE Rectangle.setX
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 8
    NATIVE Rectangle.setY
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 20
    NATIVE Rectangle.setWidth
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 30
    NATIVE Rectangle.setHeight
    TRY -1, e12
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -1
    NATIVE Rectangle.setWidth
    ENDTRY -1
    PUSH0
e12:
    FRAME8 -1
    TRY -1, e13
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -1
    NATIVE Rectangle.setHeight
    ENDTRY -1
    PUSH0
e13:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.x
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.y
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.height
    ITOS
    NATIVE Debug.log
    ; edges: below x raises, equal to x gives width 0
    TRY -1, e14
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 6
    NATIVE Rectangle.setRight
    ENDTRY -1
    PUSH0
e14:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 7
    NATIVE Rectangle.setRight
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 27
    NATIVE Rectangle.setRight
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.width
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 13
    NATIVE Rectangle.setBottom
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.height
    ITOS
    NATIVE Debug.log
    ; a side that does not fit a word is refused; edges wrap as the machine adds
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 -2147483648
    NATIVE Rectangle.setY
    TRY -1, e15
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 2147483647
    NATIVE Rectangle.setBottom
    ENDTRY -1
    PUSH0
e15:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 2147483647
    NATIVE Rectangle.setX
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.right
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.bottom
    ITOS
    NATIVE Debug.log
    ; copy, clear, equals over eight words
    PUSHGLOBALS
    FLDADDR8 7
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.copy
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.clear
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 7
    LOADN8 4
    PUSHGLOBALS
    FLDADDR8 3
    LOADN8 4
    NATIVE Rectangle.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE Rectangle.right
    ITOS
    NATIVE Debug.log
    TRY -1, e16
    NATIVE Rectangle, 22
    ENDTRY -1
    PUSH0
e16:
    FRAME8 -1
    ITOS
    NATIVE Debug.log
    RET 0, 1
