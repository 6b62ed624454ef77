; The Graphics group. A 48 x 32 picture is drawn with every drawing operation (clear, fill,
; line, bitmap, transformed bitmap, region, tiles, image-font text), checked at a few points and
; written as graphics.png, which the runner compares with the picture made independently. Then
; what must draw nothing does not: null targets and sources, a bitmap onto itself; and what must
; fail does: a range past the string (before anything else), an empty target.
; Globals: 0 the picture, 1 a 4 x 4 yellow bitmap, 2 a 6 x 6 tile (cyan left half, magenta right),
; 3 the image font, 4 the default font, 5-7 small bitmaps, 8 a writer, 15 a null cell.
; A sentinel below everything is logged last.
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
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 48
    PUSH32 32
    PUSH32 4278190080
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 4
    PUSH32 4
    PUSH32 4294967040
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 6
    PUSH32 6
    PUSH32 4294902015
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    PUSH0
    PUSH32 3
    PUSH32 6
    PUSH32 4278255615
    NATIVE Graphics.fillRect
    PUSHGLOBALS
    FLDADDR8 3
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE
    PUSHGLOBALS
    FLDADDR8 4
    NATIVE System.defaultFont
    STORE
    ; the picture
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4278190335
    NATIVE Graphics.clear
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    PUSH32 2
    PUSH32 10
    PUSH32 10
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -5
    PUSH32 20
    PUSH32 60
    PUSH32 20
    PUSH32 4278255360
    NATIVE Graphics.drawLine
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 26
    PUSH32 2
    PUSH32 255
    NATIVE Graphics.drawBitmap
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
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
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 40
    PUSH32 2
    PUSH32 2
    PUSH0
    PUSH32 2
    PUSH32 6
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    PUSH32 24
    PUSH32 48
    PUSH32 8
    PUSH32 1
    PUSH0
    PUSH32 12345
    NATIVE Graphics.drawTiled
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "! !"
    PUSH32 14
    PUSH32 8
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawString
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "x!\"x"
    PUSH32 1
    PUSH32 2
    PUSH32 2
    PUSH32 13
    PUSH32 4294967295
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawStringRange
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 11
    PUSH32 11
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 12
    PUSH32 12
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 47
    PUSH32 20
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 24
    PUSH32 10
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 32
    PUSH32 13
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 41
    PUSH32 7
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH32 24
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 31
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 15
    PUSH32 14
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 5
    PUSH32 14
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 8
    PUSHSTR "graphics.png"
    PUSH0
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 8
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE Bitmap.encode
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 8
    NATIVE OutputStream.close
    ; native text reaches the default font: a stroke of the H at pixel size 40
    PUSHGLOBALS
    FLDADDR8 5
    PUSH32 40
    PUSH32 50
    PUSH32 4278190080
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 5
    PUSHSTR "H"
    PUSH0
    PUSH0
    PUSH32 4294967295
    PUSHGLOBALS
    FLDADDR8 4
    LOAD
    NATIVE Graphics.drawString
    PUSHGLOBALS
    FLDADDR8 5
    PUSHSTR "xH"
    PUSH32 1
    PUSH32 1
    PUSH32 20
    PUSH0
    PUSH32 4294967295
    PUSHGLOBALS
    FLDADDR8 4
    LOAD
    NATIVE Graphics.drawStringRange
    PUSHGLOBALS
    FLDADDR8 5
    PUSH32 5
    PUSH32 25
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 5
    PUSH32 25
    PUSH32 25
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 5
    PUSH32 15
    PUSH32 45
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    ; a translucent clear stores the word as it is; clearing the empty bitmap does nothing
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 3
    PUSH32 3
    PUSH32 4278190080
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 2148606515
    NATIVE Graphics.clear
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 2
    PUSH32 2
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 7
    PUSH0
    PUSH0
    PUSH32 4278190080
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 7
    PUSH32 4294901760
    NATIVE Graphics.clear
    TRY -1, e1
    PUSHGLOBALS
    FLDADDR8 7
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
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 2
    PUSH32 1
    PUSH32 4278190335
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 6
    PUSH0
    PUSH0
    PUSH32 4294901760
    NATIVE Bitmap.setPixel
    PUSHGLOBALS
    FLDADDR8 6
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 1
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 1
    PUSH0
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    ; null targets and null sources: nothing, and every operand is popped
    PUSHGLOBALS
    FLDADDR8 15
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    PUSH0
    PUSH32 255
    NATIVE Graphics.drawBitmap
    PUSHGLOBALS
    FLDADDR8 15
    PUSHSTR "!"
    PUSH0
    PUSH0
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawString
    PUSHGLOBALS
    FLDADDR8 15
    PUSHSTR "!"
    PUSH0
    PUSH32 1
    PUSH0
    PUSH0
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawStringRange
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "!"
    PUSH0
    PUSH32 1
    PUSH0
    PUSH0
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 15
    NATIVE Graphics.drawStringRange
    PUSHGLOBALS
    FLDADDR8 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.fillRect
    PUSHGLOBALS
    FLDADDR8 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 4294901760
    NATIVE Graphics.drawLine
    PUSHGLOBALS
    FLDADDR8 15
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE Graphics.drawTiled
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 15
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE Graphics.drawTiled
    PUSHGLOBALS
    FLDADDR8 15
    PUSHGLOBALS
    FLDADDR8 1
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 15
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    PUSH32 255
    NATIVE Graphics.drawBitmapRegion
    PUSHGLOBALS
    FLDADDR8 15
    PUSH32 4294901760
    NATIVE Graphics.clear
    PUSHGLOBALS
    FLDADDR8 15
    PUSHGLOBALS
    FLDADDR8 1
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
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 15
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
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 15
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
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH0
    NATIVE Bitmap.pixel
    ITOS
    NATIVE Debug.log
    ; a range past the string fails before the null target is looked at
    TRY -1, e2
    PUSHGLOBALS
    FLDADDR8 15
    PUSHSTR "!"
    PUSH0
    PUSH32 2
    PUSH0
    PUSH0
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawStringRange
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    TRY -1, e3
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "!"
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    PUSH32 4294901760
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE Graphics.drawStringRange
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Graphics, 11
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    ITOS
    NATIVE Debug.log
    RET 0, 1
