; Fonts made by the System group (10 the default font, 11 an image font from a file, 12 from
; bytes) and measured by the Font group. font.png is a 10 x 9 image font: ascent 6, height 8,
; glyphs ' ' (3 wide), '!' (3) and '"' (2). A font cell holding null answers 0, but a range is
; checked first. Globals: 0 a null font cell, 1 the default font, 2 and 3 the image font from
; the file and from bytes, 4 a reader, 5 the file's bytes, 6-7 an empty array. A font
; value is its box; a null font is a reference to a cell holding null.
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
    global 1
    NATIVE System.defaultFont
    STORE
    global 2
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE
    global 4
    PUSHSTR "font.png"
    NATIVE FileReader.open
    global 5
    global 4
    global 4
    NATIVE FileReader.size
    NATIVE InputStream.readBytes
    STORE
    global 3
    global 5
    LOAD
    NATIVE System.decodeImageFont
    STORE
    ; failures: no such file, no bytes, bytes that are no picture
    TRY -1, e1
    PUSHSTR "none.png"
    NATIVE System.loadImageFont
    ENDTRY -1
    PUSH0
e1:
    FRAME8 -1
    global 6
    NEWARRAY 1
    TRY -1, e2
    global 6
    NATIVE System.decodeImageFont
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    TRY -1, e3
    PUSHSTR "not a picture"
    NATIVE Encoder.encodeUtf8
    NATIVE System.decodeImageFont
    ENDTRY -1
    PUSH0
e3:
    FRAME8 -1
    ; the default font: pixel size 40, and its own widths fit exactly
    global 1
    LOAD
    NATIVE Font.height
    logint
    global 1
    LOAD
    NATIVE Font.ascent
    logint
    global 1
    LOAD
    PUSHSTR "Hello"
    global 1
    LOAD
    PUSHSTR "Hello"
    NATIVE Font.width
    NATIVE Font.fit
    logint
    ; image fonts from the file and from bytes: height, ascent
    global 2
    LOAD
    NATIVE Font.height
    logint
    global 2
    LOAD
    NATIVE Font.ascent
    logint
    global 3
    LOAD
    NATIVE Font.height
    logint
    global 3
    LOAD
    NATIVE Font.ascent
    logint
    ; widths: characters without a glyph count 0
    global 2
    LOAD
    PUSHSTR "! \"A\n"
    NATIVE Font.width
    logint
    global 2
    LOAD
    PUSHSTR "!\"!"
    PUSH32 1
    PUSH32 2
    NATIVE Font.widthRange
    logint
    global 2
    LOAD
    PUSHSTR "!\"!"
    PUSH32 1
    PUSH32 -1
    NATIVE Font.widthRange
    logint
    global 2
    LOAD
    PUSHSTR "!\"!"
    PUSH0
    PUSH0
    NATIVE Font.widthRange
    logint
    TRY -1, e4
    global 2
    LOAD
    PUSHSTR "!\"!"
    PUSH32 3
    PUSH32 1
    NATIVE Font.widthRange
    ENDTRY -1
    PUSH0
e4:
    FRAME8 -1
    ; fit: below the first glyph, part, an exact whole run
    global 2
    LOAD
    PUSHSTR "!!!"
    PUSH32 2
    NATIVE Font.fit
    logint
    global 2
    LOAD
    PUSHSTR "!!!"
    PUSH32 7
    NATIVE Font.fit
    logint
    global 2
    LOAD
    PUSHSTR "!!!"
    PUSH32 9
    NATIVE Font.fit
    logint
    global 2
    LOAD
    PUSHSTR "!!!!"
    PUSH32 1
    PUSH32 -1
    PUSH32 6
    NATIVE Font.fitRange
    logint
    TRY -1, e5
    global 2
    LOAD
    PUSHSTR "!!!!"
    PUSH32 1
    PUSH32 4
    PUSH32 6
    NATIVE Font.fitRange
    ENDTRY -1
    PUSH0
e5:
    FRAME8 -1
    ; a null font: 0 for every measure, after the range check
    global 0
    NATIVE Font.height
    logint
    global 0
    NATIVE Font.ascent
    logint
    global 0
    PUSHSTR "!!"
    NATIVE Font.width
    logint
    global 0
    PUSHSTR "!!"
    PUSH0
    PUSH32 2
    NATIVE Font.widthRange
    logint
    global 0
    PUSHSTR "!!"
    PUSH32 5
    NATIVE Font.fit
    logint
    global 0
    PUSHSTR "!!"
    PUSH0
    PUSH32 2
    PUSH32 5
    NATIVE Font.fitRange
    logint
    TRY -1, e6
    global 0
    PUSHSTR "!!"
    PUSH32 -1
    PUSH32 1
    NATIVE Font.widthRange
    ENDTRY -1
    PUSH0
e6:
    FRAME8 -1
    TRY -1, e7
    global 0
    PUSHSTR "!!"
    PUSH32 1
    PUSH32 2
    PUSH32 5
    NATIVE Font.fitRange
    ENDTRY -1
    PUSH0
e7:
    FRAME8 -1
    ; there is no operation 1
    TRY -1, e8
    global 1
    LOAD
    NATIVE Font, 1
    ENDTRY -1
    PUSH0
e8:
    FRAME8 -1
    TRY -1, e9
    global 1
    LOAD
    NATIVE Font, 8
    ENDTRY -1
    PUSH0
e9:
    FRAME8 -1
    logint
    RET 0, 1
