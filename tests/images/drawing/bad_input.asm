; Bad input to the drawing groups ends in managed exceptions: null addresses, records and
; fonts forged by storing into them, operands of the wrong kind, and far-out coordinates that
; must neither wrap nor crash. Globals: 0 a 4 x 4 bitmap, 1 a record whose kind is forged, 2 one
; whose bitmap word is forged, 3 a string box in a font cell, 4 an image font, 5-8 scratch.
; A sentinel below everything is logged last.
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
    ; null addresses
    TRY -1, e1
    PUSH0
    NATIVE Color.setWhite
    ENDTRY -1
    PUSH0
e1:
    FRAME8 -1
    TRY -1, e2
    PUSH0
    PUSH32 4
    PUSH32 4
    PUSH32 4294901760
    NATIVE Bitmap.create
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    TRY -1, e3
    PUSH0
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    PUSH0
    NATIVE Font.height
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    TRY -1, e5
    global 0
    PUSH0
    NATIVE Bitmap.decode
    ENDTRY -1
    PUSH0
e5:
    FRAME8 -1
    ; forged records and fonts
    global 0
    PUSH32 4
    PUSH32 4
    PUSH32 4294901760
    NATIVE Bitmap.create
    global 1
    PUSH32 4
    PUSH32 4
    PUSH32 4294901760
    NATIVE Bitmap.create
    global 2
    PUSH32 4
    PUSH32 4
    PUSH32 4294901760
    NATIVE Bitmap.create
    global 1
    LOAD
    PUSH32 7
    STORE
    global 2
    LOAD
    FLDADDR8 2
    PUSH32 65600
    STORE
    global 5
    PUSH32 65600
    STORE
    global 6
    PUSHSTR "text"
    STORE
    TRY -1, e6
    global 1
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e6:
    FRAME8 -1
    TRY -1, e7
    global 2
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e7:
    FRAME8 -1
    TRY -1, e8
    global 5
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    global 6
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e9:
    FRAME8 -1
    TRY -1, e10
    global 1
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    ENDTRY -1
    PUSH0
e10:
    FRAME8 -1
    TRY -1, e11
    global 0
    global 2
    PUSH0
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    ENDTRY -1
    PUSH0
e11:
    FRAME8 -1
    TRY -1, e12
    global 7
    global 2
    NATIVE Bitmap.copy
    ENDTRY -1
    PUSH0
e12:
    FRAME8 -1
    TRY -1, e13
    global 6
    NATIVE Font.height
    ENDTRY -1
    PUSH0
e13:
    FRAME8 -1
    TRY -1, e14
    global 0
    NATIVE Font.ascent
    ENDTRY -1
    PUSH0
e14:
    FRAME8 -1
    TRY -1, e15
    global 0
    PUSHSTR "x"
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 0
    NATIVE Graphics.drawString
    ENDTRY -1
    PUSH0
e15:
    FRAME8 -1
    TRY -1, e16
    PUSH32 65600
    NATIVE Screen.registerObject
    ENDTRY -1
    PUSH0
e16:
    FRAME8 -1
    ; far-out coordinates draw what lies inside, and nothing wraps
    global 0
    PUSH32 2147483646
    PUSH0
    PUSH32 2147483647
    PUSH32 10
    PUSH32 4278255360
    NATIVE Graphics.fillRect
    global 0
    PUSH32 -2147483648
    PUSH32 -2147483648
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 4278255360
    NATIVE Graphics.fillRect
    global 0
    PUSH32 -2147483648
    PUSH32 1
    PUSH32 2147483647
    PUSH32 1
    PUSH32 4278190335
    NATIVE Graphics.drawLine
    global 0
    global 0
    PUSH32 -2147483648
    PUSH32 -2147483648
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 -2147483648
    PUSH32 -2147483648
    PUSH0
    NATIVE Graphics.drawTiled
    global 0
    global 0
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 -2147483648
    PUSH32 -2147483648
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    global 0
    global 0
    PUSH32 -2147483648
    PUSH32 2147483647
    PUSH0
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH0
    PUSH32 -2147483648
    PUSH32 128
    NATIVE Graphics.drawTransformed
    global 4
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE
    global 0
    PUSHSTR "!!"
    PUSH32 2147483647
    PUSH32 -2147483648
    PUSH32 4294901760
    global 4
    LOAD
    NATIVE Graphics.drawString
    global 0
    PUSH0
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    TRY -1, e17
    global 7
    global 0
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 2147483647
    PUSH32 2147483647
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e17:
    FRAME8 -1
    TRY -1, e18
    global 7
    global 0
    PUSH32 1
    PUSH32 1
    PUSH32 2147483647
    PUSH32 2147483647
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e18:
    FRAME8 -1
    TRY -1, e19
    global 0
    PUSH32 2147483647
    PUSH32 2147483647
    NATIVE Bitmap.resizeFast
    ENDTRY -1
    PUSH0
e19:
    FRAME8 -1
    TRY -1, e20
    global 4
    LOAD
    PUSHSTR "!!"
    PUSH32 1
    PUSH32 2147483647
    NATIVE Font.widthRange
    ENDTRY -1
    PUSH0
e20:
    FRAME8 -1
    TRY -1, e21
    global 4
    LOAD
    PUSHSTR "!!"
    PUSH32 2147483647
    PUSH32 -1
    PUSH32 5
    NATIVE Font.fitRange
    ENDTRY -1
    PUSH0
e21:
    FRAME8 -1
    TRY -1, e22
    global 0
    PUSHSTR "!!"
    PUSH32 2
    PUSH32 2147483647
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 4
    LOAD
    NATIVE Graphics.drawStringRange
    ENDTRY -1
    PUSH0
e22:
    FRAME8 -1
    ; the forged words are put back: the collector follows them after main
    global 1
    LOAD
    PUSH32 2
    STORE
    global 2
    LOAD
    FLDADDR8 2
    PUSH0
    STORE
    logint
    RET 0, 1
