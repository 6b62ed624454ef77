; Drawing benchmark: 1,000,000 setPixel/getPixel pairs on a 64 x 64 bitmap, 100,000 fillRect
; calls and 10,000 strings of 12 image-font glyphs. Each phase logs its name and its elapsed
; milliseconds; DrawingBench.cpp makes the same QImage/QPainter calls directly.
.globals 4                                     ; 0 the bitmap, 1 the image font
.function @main main

main:
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 64
    PUSH32 64
    PUSH32 -16777216
    NATIVE Bitmap.create                       ; a black 64 x 64 bitmap
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE

    NATIVE System.elapsedMillis                ; [t0]
    PUSH0                                      ; [t0, i]
pixels:
    LDLOC8 -1
    PUSH32 1000000
    LT
    JZ32 pixelsdone
    PUSHGLOBALS
    FLDADDR8 0
    LDLOC8 -2
    PUSH32 63
    AND                                        ; x = i & 63
    LDLOC8 -3
    PUSH32 64
    DIV
    PUSH32 63
    AND                                        ; y = i / 64 & 63
    LDLOC8 -4                                  ; the color: i
    NATIVE Bitmap.setPixel
    PUSHGLOBALS
    FLDADDR8 0
    LDLOC8 -2
    PUSH32 63
    AND
    LDLOC8 -3
    PUSH32 64
    DIV
    PUSH32 63
    AND
    NATIVE Bitmap.pixel
    FRAME8 -1                                  ; the pixel read is dropped
    LOCADDR8 -1
    INC
    JMP32 pixels
pixelsdone:
    FRAME8 -1                                  ; [t0]
    PUSHSTR "setPixel/getPixel pairs: 1000000, ms:"
    NATIVE Debug.log
    CALL elapsed, none

    NATIVE System.elapsedMillis
    PUSH0
fills:
    LDLOC8 -1
    PUSH32 100000
    LT
    JZ32 fillsdone
    PUSHGLOBALS
    FLDADDR8 0
    LDLOC8 -2
    PUSH32 31
    AND                                        ; x = i & 31
    PUSH0
    PUSH32 16
    PUSH32 16
    LDLOC8 -6                                  ; the color: i
    NATIVE Graphics.fillRect
    LOCADDR8 -1
    INC
    JMP32 fills
fillsdone:
    FRAME8 -1
    PUSHSTR "fillRect 16 x 16: 100000, ms:"
    NATIVE Debug.log
    CALL elapsed, none

    NATIVE System.elapsedMillis
    PUSH0
texts:
    LDLOC8 -1
    PUSH32 10000
    LT
    JZ32 textsdone
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "! \"! \"! \"! \""
    PUSH0
    LDLOC8 -4
    PUSH32 31
    AND                                        ; y = i & 31
    LDLOC8 -5                                  ; the color: i
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE Graphics.drawString
    LOCADDR8 -1
    INC
    JMP32 texts
textsdone:
    FRAME8 -1
    PUSHSTR "image-font strings of 12 glyphs: 10000, ms:"
    NATIVE Debug.log
    CALL elapsed, none
    RET 0, 0

; elapsed(t0): logs the milliseconds since t0 (the elapsed clock) and pops t0.
elapsed:
    NATIVE System.elapsedMillis                ; [t0, ret, t1]
    LDLOC8 -3                                  ; t0
    SUB
    ITOS
    NATIVE Debug.log
    RET 0, 2
