; The Bitmap group: every operation with its stack effect and messages. Bitmap values are
; cells holding a graphics record: "out" and "bmp" are the addresses of globals. Globals: 0 a
; 10 x 10 red bitmap, 1 an empty one, 2-4 and 6-9 results, 5 encoded bytes, 10-11 an empty
; array, 15 a null cell. A sentinel below everything is logged last.
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
    ; create: both sides non-zero make a filled bitmap, a zero side the empty bitmap
    global 0
    PUSH32 10
    PUSH32 10
    PUSH32 4294901760
    NATIVE Bitmap.create
    global 0
    NATIVE Bitmap.size
    logint
    logint
    global 1
    PUSH0
    PUSH32 5
    PUSH32 4294901760
    NATIVE Bitmap.create
    global 1
    NATIVE Bitmap.size
    logint
    logint
    TRY -1, e1
    global 2
    PUSH32 -1
    PUSH32 5
    PUSH0
    NATIVE Bitmap.create
    ENDTRY -1
    PUSH0
e1:
    FRAME8 -1
    TRY -1, e2
    global 2
    PUSH0
    PUSH32 -1
    PUSH0
    NATIVE Bitmap.create
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    TRY -1, e3
    global 2
    PUSH32 40000
    PUSH32 1
    PUSH0
    NATIVE Bitmap.create
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    TRY -1, e4
    global 2
    PUSH32 5000
    PUSH32 5000
    PUSH0
    NATIVE Bitmap.create
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    ; pixels: the last one, one past it, a negative one, the empty bitmap, a null cell
    global 0
    PUSH32 9
    PUSH32 9
    NATIVE Bitmap.pixel
    logint
    TRY -1, e5
    global 0
    PUSH32 10
    PUSH0
    NATIVE Bitmap.pixel
    ENDTRY -1
    PUSH0
e5:
    FRAME8 -1
    TRY -1, e6
    global 0
    PUSH0
    PUSH32 -1
    NATIVE Bitmap.pixel
    ENDTRY -1
    PUSH0
e6:
    FRAME8 -1
    TRY -1, e7
    global 1
    PUSH0
    PUSH0
    NATIVE Bitmap.pixel
    ENDTRY -1
    PUSH0
e7:
    FRAME8 -1
    global 0
    PUSH32 3
    PUSH32 4
    PUSH32 4278255360
    NATIVE Bitmap.setPixel
    global 0
    PUSH32 3
    PUSH32 4
    NATIVE Bitmap.pixel
    logint
    TRY -1, e8
    global 0
    PUSH0
    PUSH32 10
    PUSH0
    NATIVE Bitmap.setPixel
    ENDTRY -1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    global 1
    PUSH0
    PUSH0
    PUSH0
    NATIVE Bitmap.setPixel
    ENDTRY -1
    PUSH0
e9:
    FRAME8 -1
    TRY -1, e10
    global 15
    NATIVE Bitmap.size
    ENDTRY -1
    PUSH0
e10:
    FRAME8 -1
    ; sub-bitmaps: bounds summed without wrapping, zero area, an empty source
    global 2
    global 0
    PUSH32 2
    PUSH32 3
    PUSH32 4
    PUSH32 2
    NATIVE Bitmap.createSub
    global 2
    NATIVE Bitmap.size
    logint
    logint
    global 2
    PUSH32 1
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    TRY -1, e11
    global 3
    global 0
    PUSH32 2
    PUSH0
    PUSH32 2147483647
    PUSH32 1
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e11:
    FRAME8 -1
    TRY -1, e12
    global 3
    global 0
    PUSH0
    PUSH32 2
    PUSH32 1
    PUSH32 2147483647
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e12:
    FRAME8 -1
    TRY -1, e13
    global 3
    global 0
    PUSH32 -1
    PUSH0
    PUSH32 1
    PUSH32 1
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e13:
    FRAME8 -1
    global 3
    global 0
    PUSH0
    PUSH0
    PUSH0
    PUSH32 5
    NATIVE Bitmap.createSub
    global 3
    NATIVE Bitmap.size
    logint
    logint
    global 3
    global 1
    PUSH0
    PUSH0
    PUSH0
    PUSH0
    NATIVE Bitmap.createSub
    global 3
    NATIVE Bitmap.size
    logint
    logint
    TRY -1, e14
    global 3
    global 1
    PUSH0
    PUSH0
    PUSH32 1
    PUSH32 1
    NATIVE Bitmap.createSub
    ENDTRY -1
    PUSH0
e14:
    FRAME8 -1
    ; copy is deep; an empty source gives an empty bitmap; a null cell is refused
    global 3
    global 0
    NATIVE Bitmap.copy
    global 3
    PUSH0
    PUSH0
    PUSH32 4278190335
    NATIVE Bitmap.setPixel
    global 3
    PUSH0
    PUSH0
    NATIVE Bitmap.pixel
    logint
    global 0
    PUSH0
    PUSH0
    NATIVE Bitmap.pixel
    logint
    global 4
    global 1
    NATIVE Bitmap.copy
    global 4
    NATIVE Bitmap.size
    logint
    logint
    TRY -1, e15
    global 4
    global 15
    NATIVE Bitmap.copy
    ENDTRY -1
    PUSH0
e15:
    FRAME8 -1
    ; resize: scaled, unchanged, emptied, and an empty bitmap made opaque black
    global 3
    PUSH32 10
    PUSH32 20
    NATIVE Bitmap.resizeFast
    global 3
    NATIVE Bitmap.size
    logint
    logint
    global 3
    PUSH32 3
    PUSH32 8
    NATIVE Bitmap.pixel
    logint
    global 3
    PUSH0
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    global 3
    PUSH32 9
    PUSH32 9
    PUSH32 4278255615
    NATIVE Bitmap.setPixel
    global 3
    PUSH32 10
    PUSH32 20
    NATIVE Bitmap.resizeFast2
    global 3
    PUSH32 9
    PUSH32 9
    NATIVE Bitmap.pixel
    logint
    global 3
    PUSH0
    PUSH32 4
    NATIVE Bitmap.resizeFast2
    global 3
    NATIVE Bitmap.size
    logint
    logint
    global 4
    PUSH32 3
    PUSH32 2
    NATIVE Bitmap.resizeSmooth
    global 4
    NATIVE Bitmap.size
    logint
    logint
    global 4
    PUSH32 2
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    global 4
    PUSH32 6
    PUSH32 4
    NATIVE Bitmap.resizeSmooth
    global 4
    NATIVE Bitmap.size
    logint
    logint
    global 4
    PUSH32 5
    PUSH32 3
    NATIVE Bitmap.pixel
    logint
    TRY -1, e16
    global 4
    PUSH32 40000
    PUSH32 1
    NATIVE Bitmap.resizeFast
    ENDTRY -1
    PUSH0
e16:
    FRAME8 -1
    TRY -1, e17
    global 4
    PUSH32 -1
    PUSH32 5
    NATIVE Bitmap.resizeSmooth
    ENDTRY -1
    PUSH0
e17:
    FRAME8 -1
    ; encode: PNG and BMP decode back at the same size; no GIF writer, an unknown format and
    ; the empty bitmap give empty arrays; JPEG is lossy, so only its size is checked
    global 5
    global 2
    PUSH32 2
    NATIVE Bitmap.encode
    STORE
    global 6
    global 5
    LOAD
    NATIVE Bitmap.decode
    global 6
    NATIVE Bitmap.size
    logint
    logint
    global 6
    PUSH32 1
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    global 7
    global 2
    PUSH32 4
    NATIVE Bitmap.encode
    NATIVE Bitmap.decode
    global 7
    NATIVE Bitmap.size
    logint
    logint
    global 8
    global 2
    PUSH32 1
    NATIVE Bitmap.encode
    NATIVE Bitmap.decode
    global 8
    NATIVE Bitmap.size
    logint
    logint
    global 2
    PUSH32 3
    NATIVE Bitmap.encode
    NATIVE ByteArray.length
    logint
    global 2
    PUSH32 9
    NATIVE Bitmap.encode
    NATIVE ByteArray.length
    logint
    global 1
    PUSH32 2
    NATIVE Bitmap.encode
    NATIVE ByteArray.length
    logint
    ; decode: no bytes, bytes that are no picture
    global 10
    NEWARRAY 1
    TRY -1, e18
    global 6
    global 10
    NATIVE Bitmap.decode
    ENDTRY -1
    PUSH0
e18:
    FRAME8 -1
    TRY -1, e19
    global 6
    PUSHSTR "not a picture"
    NATIVE Encoder.encodeUtf8
    NATIVE Bitmap.decode
    ENDTRY -1
    PUSH0
e19:
    FRAME8 -1
    ; decode a range: -1 runs to the end from any start, checked before "size is zero"
    global 9
    global 5
    LOAD
    PUSH0
    PUSH32 -1
    NATIVE Bitmap.decodeRange
    global 9
    NATIVE Bitmap.size
    logint
    logint
    TRY -1, e20
    global 9
    global 5
    LOAD
    PUSH32 1
    PUSH32 -1
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e20:
    FRAME8 -1
    TRY -1, e21
    global 9
    global 5
    LOAD
    PUSH0
    PUSH0
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e21:
    FRAME8 -1
    TRY -1, e22
    global 9
    global 10
    PUSH0
    PUSH32 -1
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e22:
    FRAME8 -1
    TRY -1, e23
    global 9
    global 5
    LOAD
    PUSH0
    PUSH32 1000000
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e23:
    FRAME8 -1
    TRY -1, e24
    global 9
    global 5
    LOAD
    PUSH32 2147483647
    PUSH32 2
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e24:
    FRAME8 -1
    TRY -1, e25
    global 9
    global 5
    LOAD
    PUSH32 -1
    PUSH32 2
    NATIVE Bitmap.decodeRange
    ENDTRY -1
    PUSH0
e25:
    FRAME8 -1
    ; load a file
    global 9
    PUSHSTR "pic.png"
    NATIVE Bitmap.load
    global 9
    NATIVE Bitmap.size
    logint
    logint
    global 9
    PUSH32 2
    PUSH32 1
    NATIVE Bitmap.pixel
    logint
    TRY -1, e26
    global 9
    PUSHSTR "nopic.png"
    NATIVE Bitmap.load
    ENDTRY -1
    PUSH0
e26:
    FRAME8 -1
    TRY -1, e27
    global 9
    PUSHSTR "notes.txt"
    NATIVE Bitmap.load
    ENDTRY -1
    PUSH0
e27:
    FRAME8 -1
    TRY -1, e28
    global 9
    PUSHSTR ""
    NATIVE Bitmap.load
    ENDTRY -1
    PUSH0
e28:
    FRAME8 -1
    TRY -1, e29
    global 0
    NATIVE Bitmap, 14
    ENDTRY -1
    PUSH0
e29:
    FRAME8 -1
    TRY -1, e30
    global 0
    NATIVE Bitmap, 0
    ENDTRY -1
    PUSH0
e30:
    FRAME8 -1
    logint
    RET 0, 1
