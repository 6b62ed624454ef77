; The Graphics group. A 48 x 32 picture is drawn with every drawing operation (clear, fill,
; line, bitmap, transformed bitmap, region, tiles, image-font text), checked at a few points and
; written as graphics.png, which the runner compares with the picture made independently. Then
; what must draw nothing does not: null targets and sources, a bitmap onto itself; and what must
; fail does: a range past the string (before anything else), an empty target.
; Globals: 0 the picture, 1 a 4 x 4 yellow bitmap, 2 a 6 x 6 tile (cyan left half, magenta right),
; 3 the image font, 4 the default font, 5-7 small bitmaps, 8 a writer, 15 a null cell.
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
    global 0
    PUSH32 48
    PUSH32 32
    PUSH32 4278190080
    NATIVE Bitmap.create
    global 1
    PUSH32 4
    PUSH32 4
    PUSH32 4294967040
    NATIVE Bitmap.create
    global 2
    PUSH32 6
    PUSH32 6
    PUSH32 4294902015
    NATIVE Bitmap.create
    global 2
    PUSH0
    PUSH0
    PUSH32 3
    PUSH32 6
    PUSH32 4278255615
    NATIVE Graphics.fillRect
    global 3
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE
    global 4
    NATIVE System.defaultFont
    STORE
    ; the picture
    global 0
    PUSH32 4278190335
    NATIVE Graphics.clear
    global 0
    PUSH32 2
    PUSH32 2
    PUSH32 10
    PUSH32 10
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    global 0
    PUSH32 -5
    PUSH32 20
    PUSH32 60
    PUSH32 20
    PUSH32 4278255360
    NATIVE Graphics.drawLine
    global 0
    global 1
    PUSH32 26
    PUSH32 2
    PUSH32 255
    NATIVE Graphics.drawBitmap
    global 0
    global 1
    PUSH32 28
    PUSH32 12
    PUSH0
    PUSH0
    PUSH0
    PUSH32 2
    PUSH0
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawTransformed
    global 0
    global 2
    PUSH32 40
    PUSH32 2
    PUSH32 2
    PUSH0
    PUSH32 2
    PUSH32 6
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    global 0
    global 2
    PUSH0
    PUSH32 24
    PUSH32 48
    PUSH32 8
    PUSH32 1
    PUSH0
    PUSH32 12345
    NATIVE Graphics.drawTiled
    global 0
    PUSHSTR "! !"
    PUSH32 14
    PUSH32 8
    PUSH32 4294901760
    global 3
    LOAD
    NATIVE Graphics.drawString
    global 0
    PUSHSTR "x!\"x"
    PUSH32 1
    PUSH32 2
    PUSH32 2
    PUSH32 13
    PUSH32 4294967295
    global 3
    LOAD
    NATIVE Graphics.drawStringRange
    global 0
    PUSH32 11
    PUSH32 11
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 12
    PUSH32 12
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 47
    PUSH32 20
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 24
    PUSH32 10
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 32
    PUSH32 13
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 41
    PUSH32 7
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH0
    PUSH32 24
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 1
    PUSH32 31
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 15
    PUSH32 14
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH32 5
    PUSH32 14
    NATIVE Bitmap.pixel
    logint
    global 8
    PUSHSTR "graphics.png"
    PUSH0
    NATIVE FileWriter.open
    global 8
    global 0
    PUSH32 2
    NATIVE Bitmap.encode
    NATIVE OutputStream.writeBytes
    global 8
    NATIVE OutputStream.close
    ; native text reaches the default font: a stroke of the H at pixel size 40
    global 5
    PUSH32 40
    PUSH32 50
    PUSH32 4278190080
    NATIVE Bitmap.create
    global 5
    PUSHSTR "H"
    PUSH0
    PUSH0
    PUSH32 4294967295
    global 4
    LOAD
    NATIVE Graphics.drawString
    global 5
    PUSHSTR "xH"
    PUSH32 1
    PUSH32 1
    PUSH32 20
    PUSH0
    PUSH32 4294967295
    global 4
    LOAD
    NATIVE Graphics.drawStringRange
    global 5
    PUSH32 5
    PUSH32 25
    NATIVE Bitmap.pixel
    logint
    global 5
    PUSH32 25
    PUSH32 25
    NATIVE Bitmap.pixel
    logint
    global 5
    PUSH32 15
    PUSH32 45
    NATIVE Bitmap.pixel
    logint
    ; a translucent clear stores the word as it is; clearing the empty bitmap does nothing
    global 6
    PUSH32 3
    PUSH32 3
    PUSH32 4278190080
    NATIVE Bitmap.create
    global 6
    PUSH32 2148606515
    NATIVE Graphics.clear
    global 6
    PUSH32 2
    PUSH32 2
    NATIVE Bitmap.pixel
    logint
    global 7
    PUSH0
    PUSH0
    PUSH32 4278190080
    NATIVE Bitmap.create
    global 7
    PUSH32 4294901760
    NATIVE Graphics.clear
    TRY -1, e1
    global 7
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    ENDTRY -1
    PUSH0
e1:
    FRAME8 -1
    ; a bitmap drawn onto itself: nothing; the pixel at (1, 0) stays blue
    global 6
    PUSH32 2
    PUSH32 1
    PUSH32 4278190335
    NATIVE Bitmap.create
    global 6
    PUSH0
    PUSH0
    PUSH32 4294901760
    NATIVE Bitmap.setPixel
    global 6
    global 6
    PUSH32 1
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    global 6
    PUSH32 1
    PUSH0
    NATIVE Bitmap.pixel
    logint
    ; null targets and null sources: nothing, and every operand is popped
    global 15
    global 1
    PUSH0
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    global 15
    PUSHSTR "!"
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 3
    LOAD
    NATIVE Graphics.drawString
    global 15
    PUSHSTR "!"
    PUSH0
    PUSH32 1
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 3
    LOAD
    NATIVE Graphics.drawStringRange
    global 0
    PUSHSTR "!"
    PUSH0
    PUSH32 1
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 15
    NATIVE Graphics.drawStringRange
    global 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    global 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.drawLine
    global 15
    global 1
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE Graphics.drawTiled
    global 0
    global 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE Graphics.drawTiled
    global 15
    global 1
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    global 0
    global 15
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    global 15
    PUSH32 4294901760
    NATIVE Graphics.clear
    global 15
    global 1
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH0
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawTransformed
    global 0
    global 15
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH0
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawTransformed
    global 0
    global 15
    PUSH0
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    PUSH32 1
    PUSH32 2
    PUSH32 3
    PUSH32 4
    PUSH32 5
    NATIVE Graphics.nop
    global 0
    PUSH0
    PUSH0
    NATIVE Bitmap.pixel
    logint
    ; a range past the string fails before the null target is looked at
    TRY -1, e2
    global 15
    PUSHSTR "!"
    PUSH0
    PUSH32 2
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 3
    LOAD
    NATIVE Graphics.drawStringRange
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    TRY -1, e3
    global 0
    PUSHSTR "!"
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    PUSH32 4294901760
    global 3
    LOAD
    NATIVE Graphics.drawStringRange
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    global 0
    NATIVE Graphics, 11
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    logint
    RET 0, 1
