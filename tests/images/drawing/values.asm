; The value groups Color, Position, Size and Rectangle: every operation with its stack
; effect, the refused components and sides, wrapping edges, and each group's unknown operation.
; Globals: 0 a color, 1-2 a position or size, 3-6 a rectangle, 7 another color, 8-9 a size.
; A sentinel below everything is logged last: a wrong stack effect would change it.
.include "../common.inc"
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
    global 0
    NATIVE Color.setWhite
    global 0
    LOAD
    logint
    global 0
    PUSH32 255
    PUSH32 255
    PUSH32 255
    PUSH32 255
    NATIVE Color.setRgba
    global 0
    LOAD
    logint
    global 0
    PUSH32 18
    PUSH32 52
    PUSH32 86
    PUSH32 120
    NATIVE Color.setRgba
    global 0
    LOAD
    logint
    TRY -1, e1
    global 0
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
    global 0
    PUSH32 -1
    PUSH32 2
    PUSH32 3
    PUSH32 4
    NATIVE Color.setRgba
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    global 0
    NATIVE Color.red
    logint
    global 0
    NATIVE Color.green
    logint
    global 0
    NATIVE Color.blue
    logint
    global 0
    NATIVE Color.alpha
    logint
    global 0
    PUSH32 171
    NATIVE Color.setRed
    global 0
    PUSH32 1
    NATIVE Color.setGreen
    global 0
    PUSH32 2
    NATIVE Color.setBlue
    global 0
    PUSH32 3
    NATIVE Color.setAlpha
    global 0
    LOAD
    logint
    TRY -1, e3
    global 0
    PUSH32 -1
    NATIVE Color.setRed
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    global 0
    PUSH32 256
    NATIVE Color.setAlpha
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    global 0
    LOAD
    logint
    global 7
    global 0
    NATIVE Color.copy
    global 7
    LOAD
    logint
    global 0
    LOAD
    global 7
    LOAD
    NATIVE Color.equals
    logint
    global 0
    LOAD
    PUSH32 5
    NATIVE Color.equals
    logint
    global 0
    LOAD
    global 7
    LOAD
    NATIVE Color.notEquals
    logint
    global 0
    LOAD
    PUSH32 5
    NATIVE Color.notEquals
    logint
    NATIVE Color.redColor
    logint
    NATIVE Color.greenColor
    logint
    NATIVE Color.blueColor
    logint
    NATIVE Color.blackColor
    logint
    NATIVE Color.whiteColor
    logint
    NATIVE Color.cyanColor
    logint
    NATIVE Color.magentaColor
    logint
    NATIVE Color.yellowColor
    logint
    NATIVE Color.grayColor
    logint
    NATIVE Color.brownColor
    logint
    NATIVE Color.orangeColor
    logint
    TRY -1, e5
    NATIVE Color, 25
    ENDTRY -1
    PUSH0
e5:
    FRAME8 -1
    ; Position: any signed values
    global 1
    PUSH32 5
    PUSH32 -7
    NATIVE Position.set
    global 1
    NATIVE Position.x
    logint
    global 1
    NATIVE Position.y
    logint
    global 1
    PUSH32 -9
    NATIVE Position.setX
    global 1
    PUSH32 11
    NATIVE Position.setY
    global 8
    global 1
    NATIVE Position.copy
    global 1
    NATIVE Position.clear
    global 8
    NATIVE Position.x
    logint
    global 8
    NATIVE Position.y
    logint
    global 1
    NATIVE Position.x
    logint
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position.equals
    logint
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position.equals
    logint
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Position.notEquals
    logint
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Position.notEquals
    logint
    TRY -1, e6
    NATIVE Position, 10
    ENDTRY -1
    PUSH0
e6:
    FRAME8 -1
    ; Size: negative sides are refused and change nothing
    global 1
    PUSH32 3
    PUSH32 4
    NATIVE Size.set
    TRY -1, e7
    global 1
    PUSH32 -1
    PUSH32 4
    NATIVE Size.set
    ENDTRY -1
    PUSH0
e7:
    FRAME8 -1
    TRY -1, e8
    global 1
    PUSH32 3
    PUSH32 -1
    NATIVE Size.set
    ENDTRY -1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    global 1
    PUSH32 -1
    NATIVE Size.setWidth
    ENDTRY -1
    PUSH0
e9:
    FRAME8 -1
    TRY -1, e10
    global 1
    PUSH32 -1
    NATIVE Size.setHeight
    ENDTRY -1
    PUSH0
e10:
    FRAME8 -1
    global 1
    NATIVE Size.width
    logint
    global 1
    NATIVE Size.height
    logint
    global 1
    PUSH32 8
    NATIVE Size.setWidth
    global 1
    PUSH0
    NATIVE Size.setHeight
    global 8
    global 1
    NATIVE Size.copy
    global 1
    NATIVE Size.clear
    global 8
    NATIVE Size.width
    logint
    global 8
    NATIVE Size.height
    logint
    global 1
    NATIVE Size.width
    logint
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size.equals
    logint
    PUSH32 8
    PUSH0
    PUSH32 8
    PUSH0
    NATIVE Size.notEquals
    logint
    TRY -1, e11
    NATIVE Size, 10
    ENDTRY -1
    PUSH0
e11:
    FRAME8 -1
    ; Rectangle
    global 3
    PUSH32 5
    PUSH32 5
    PUSH32 10
    PUSH32 10
    NATIVE Rectangle.set
    global 3
    NATIVE Rectangle.x
    logint
    global 3
    NATIVE Rectangle.y
    logint
    global 3
    NATIVE Rectangle.width
    logint
    global 3
    NATIVE Rectangle.height
    logint
    global 3
    NATIVE Rectangle.right
    logint
    global 3
    NATIVE Rectangle.bottom
    logint
    ; position and size push one word more: y (height) is on top
    global 3
    NATIVE Rectangle.position
    logint
    logint
    global 3
    NATIVE Rectangle.size
    logint
    logint
    global 3
    PUSH32 1
    PUSH32 2
    NATIVE Rectangle.setPosition
    global 3
    PUSH32 -3
    PUSH32 4
    NATIVE Rectangle.setSize
    global 3
    NATIVE Rectangle.x
    logint
    global 3
    NATIVE Rectangle.y
    logint
    global 3
    NATIVE Rectangle.width
    logint
    global 3
    NATIVE Rectangle.height
    logint
    global 3
    PUSH32 7
    NATIVE Rectangle.setX
    global 3
    PUSH32 8
    NATIVE Rectangle.setY
    global 3
    PUSH32 20
    NATIVE Rectangle.setWidth
    global 3
    PUSH32 30
    NATIVE Rectangle.setHeight
    TRY -1, e12
    global 3
    PUSH32 -1
    NATIVE Rectangle.setWidth
    ENDTRY -1
    PUSH0
e12:
    FRAME8 -1
    TRY -1, e13
    global 3
    PUSH32 -1
    NATIVE Rectangle.setHeight
    ENDTRY -1
    PUSH0
e13:
    FRAME8 -1
    global 3
    NATIVE Rectangle.x
    logint
    global 3
    NATIVE Rectangle.y
    logint
    global 3
    NATIVE Rectangle.width
    logint
    global 3
    NATIVE Rectangle.height
    logint
    ; edges: below x raises, equal to x gives width 0
    TRY -1, e14
    global 3
    PUSH32 6
    NATIVE Rectangle.setRight
    ENDTRY -1
    PUSH0
e14:
    FRAME8 -1
    global 3
    PUSH32 7
    NATIVE Rectangle.setRight
    global 3
    NATIVE Rectangle.width
    logint
    global 3
    PUSH32 27
    NATIVE Rectangle.setRight
    global 3
    NATIVE Rectangle.width
    logint
    global 3
    PUSH32 13
    NATIVE Rectangle.setBottom
    global 3
    NATIVE Rectangle.height
    logint
    ; a side that does not fit a word is refused; edges wrap as the machine adds
    global 3
    PUSH32 -2147483648
    NATIVE Rectangle.setY
    TRY -1, e15
    global 3
    PUSH32 2147483647
    NATIVE Rectangle.setBottom
    ENDTRY -1
    PUSH0
e15:
    FRAME8 -1
    global 3
    PUSH32 2147483647
    NATIVE Rectangle.setX
    global 3
    NATIVE Rectangle.right
    logint
    global 3
    NATIVE Rectangle.bottom
    logint
    ; copy, clear, equals over eight words
    global 7
    global 3
    NATIVE Rectangle.copy
    global 7
    LOADN8 4
    global 3
    LOADN8 4
    NATIVE Rectangle.equals
    logint
    global 7
    LOADN8 4
    global 3
    LOADN8 4
    NATIVE Rectangle.notEquals
    logint
    global 3
    NATIVE Rectangle.clear
    global 7
    LOADN8 4
    global 3
    LOADN8 4
    NATIVE Rectangle.equals
    logint
    global 7
    LOADN8 4
    global 3
    LOADN8 4
    NATIVE Rectangle.notEquals
    logint
    global 3
    NATIVE Rectangle.right
    logint
    TRY -1, e16
    NATIVE Rectangle, 22
    ENDTRY -1
    PUSH0
e16:
    FRAME8 -1
    logint
    RET 0, 1
