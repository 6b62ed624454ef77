; Every guard that needs GL state, each hit by one word, while the application draws: each
; call is refused with its exception, nothing reaches the screen (the refused draws would
; paint green) and glGetError stays 0. The attribute arrays change under GL: one exists only
; as the attribute's array across a collection (main returns before the frame), one grows
; into new storage, and one is replaced by an empty array, between pointer and draw.
.include "../common.inc"
.globals 26                     ; arrays at 0-3 (two words each), names at words 20-24
.class Exception refs=2         ; word 1: code, word 2: message
.function @main main
.function @drawgl drawgl
.function @internalthrow internalthrow

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    global 23
    PUSH32 0x8B31
    EXTCALL OpenGL, 27   ; glCreateShader
    STORE
    global 23
    LOAD
    PUSHSTR "attribute vec2 p; void main() { gl_Position = vec4(p, 0.0, 1.0); }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 23
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 24
    PUSH32 0x8B30
    EXTCALL OpenGL, 27   ; glCreateShader
    STORE
    global 24
    LOAD
    PUSHSTR "precision mediump float; uniform vec4 c; void main() { gl_FragColor = c; }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 24
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 20
    EXTCALL OpenGL, 26   ; glCreateProgram
    STORE
    global 20
    LOAD
    global 23
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 20
    LOAD
    global 24
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 20
    LOAD
    PUSH32 0
    PUSHSTR "p"
    EXTCALL OpenGL, 143   ; glBindAttribLocation
    global 20
    LOAD
    EXTCALL OpenGL, 90   ; glLinkProgram
    global 20
    LOAD
    EXTCALL OpenGL, 131   ; glUseProgram
    global 21
    global 20
    LOAD
    PUSHSTR "c"
    EXTCALL OpenGL, 151   ; glGetUniformLocation
    STORE
; an array that only the attribute holds: a new int array of 8 (from glGenBuffers), its
; elements overwritten with the left quarter's corners
    PUSH32 0
    PUSH32 2
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    PUSH32 8
    EXTCALL OpenGL, 144   ; glGenBuffers: a new int array
    DUP
    PUSH32 0
    NATIVE IntArray, 6
    PUSH32 0xBF800000
    STORE
    DUP
    PUSH32 1
    NATIVE IntArray, 6
    PUSH32 0xBF800000
    STORE
    DUP
    PUSH32 2
    NATIVE IntArray, 6
    PUSH32 0xBF000000
    STORE
    DUP
    PUSH32 3
    NATIVE IntArray, 6
    PUSH32 0xBF800000
    STORE
    DUP
    PUSH32 4
    NATIVE IntArray, 6
    PUSH32 0xBF800000
    STORE
    DUP
    PUSH32 5
    NATIVE IntArray, 6
    PUSH32 0x3F800000
    STORE
    DUP
    PUSH32 6
    NATIVE IntArray, 6
    PUSH32 0xBF000000
    STORE
    DUP
    PUSH32 7
    NATIVE IntArray, 6
    PUSH32 0x3F800000
    STORE
    EXTCALL OpenGL, 141   ; glVertexAttribPointer(0, 2, FLOAT, false, 0, the array)
    PUSH32 0
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray
    RET 0, 1

drawgl:
    PUSH32 0
    PUSH32 0
    PUSH32 0x3F800000
    PUSH32 0x3F800000
    EXTCALL OpenGL, 17   ; glClearColor blue
    PUSH32 0x4000
    EXTCALL OpenGL, 16   ; glClear
    global 21
    LOAD
    PUSH32 0x3F800000
    PUSH32 0
    PUSH32 0
    PUSH32 0x3F800000
    EXTCALL OpenGL, 124   ; glUniform4f red
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41   ; glDrawArrays: the collected-if-not-rooted array, left quarter
; the second quarter, from an array that then grows past its capacity
    global 0
    NEWARRAY 4
    global 0
    DUP
    PUSH32 0xBF000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    PUSH32 0
    PUSH32 2
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141   ; glVertexAttribPointer
    global 0
    PUSH32 0x00000000
    NATIVE IntArray, 19
    global 0
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    global 0
    PUSH32 0x00000000
    NATIVE IntArray, 19
    global 0
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    PUSH32 5
    PUSH32 0
    PUSH32 6
    EXTCALL OpenGL, 41   ; glDrawArrays: six vertices of the grown array
    global 21
    LOAD
    PUSH32 0
    PUSH32 0x3F800000
    PUSH32 0
    PUSH32 0x3F800000
    EXTCALL OpenGL, 124   ; glUniform4f green: nothing below may draw
; one vertex past the grown array
    TRY Exception, g1
    PUSH32 5
    PUSH32 0
    PUSH32 7
    EXTCALL OpenGL, 41
    ENDTRY -1
g1:
    CALL report, none
; the same through first
    TRY Exception, g2
    PUSH32 5
    PUSH32 3
    PUSH32 4
    EXTCALL OpenGL, 41
    ENDTRY -1
g2:
    CALL report, none
    global 2
    NEWARRAY 1
    global 2
    DUP
    PUSH32 0
    NATIVE ByteArray, 19
    DUP
    PUSH32 1
    NATIVE ByteArray, 19
    DUP
    PUSH32 2
    NATIVE ByteArray, 19
    PUSH32 12
    NATIVE ByteArray, 19
; a client index past the array
    TRY Exception, g3
    PUSH32 5
    PUSH32 4
    PUSH32 0x1401
    global 2
    EXTCALL OpenGL, 42
    ENDTRY -1
g3:
    CALL report, none
; an index type without a size
    TRY Exception, g4
    PUSH32 5
    PUSH32 4
    PUSH32 0x1406
    global 2
    EXTCALL OpenGL, 42
    ENDTRY -1
g4:
    CALL report, none
    global 22
    PUSH32 1
    EXTCALL OpenGL, 144   ; glGenBuffers
    STORE
    PUSH32 0x8893
    global 22
    LOAD
    NATIVE IntArray, 9
    EXTCALL OpenGL, 4   ; glBindBuffer ELEMENT_ARRAY_BUFFER
; indices in a buffer with a client array enabled
    TRY Exception, g5
    PUSH32 5
    PUSH32 4
    PUSH32 0x1401
    global 2
    EXTCALL OpenGL, 42
    ENDTRY -1
g5:
    CALL report, none
    PUSH32 0x8893
    PUSH32 0
    EXTCALL OpenGL, 4   ; glBindBuffer 0
    PUSH32 1
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray(1): never pointed
; an enabled attribute without an array
    TRY Exception, g6
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41
    ENDTRY -1
g6:
    CALL report, none
    PUSH32 1
    EXTCALL OpenGL, 40   ; glDisableVertexAttribArray(1)
    global 0
    NEWARRAY 4                    ; the attribute's variable now holds an empty array
; the replaced array
    TRY Exception, g7
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41
    ENDTRY -1
g7:
    CALL report, none
; an attribute type without a size
    TRY Exception, g8
    PUSH32 0
    PUSH32 2
    PUSH32 0x140A
    PUSH32 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141
    ENDTRY -1
g8:
    CALL report, none
    PUSH32 0
    PUSH32 5
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141   ; glVertexAttribPointer with size 5: GL refuses it
    EXTCALL OpenGL, 61   ; glGetError: INVALID_VALUE
    ITOS
    NATIVE Debug, 1
; ...and the attribute has no array any more
    TRY Exception, g9
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41
    ENDTRY -1
g9:
    CALL report, none
    global 4
    NEWARRAY 1
    global 4
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    DUP
    PUSH32 9
    NATIVE ByteArray, 19
    PUSH32 9
    NATIVE ByteArray, 19
; 2 x 2 RGB rows padded to 4: 14 bytes
    TRY Exception, g10
    PUSH32 0x0DE1
    PUSH32 0
    PUSH32 0x1907
    PUSH32 2
    PUSH32 2
    PUSH32 0
    PUSH32 0x1907
    PUSH32 0x1401
    global 4
    EXTCALL OpenGL, 106
    ENDTRY -1
g10:
    CALL report, none
; a format without a size
    TRY Exception, g11
    PUSH32 0x0DE1
    PUSH32 0
    PUSH32 0
    PUSH32 0
    PUSH32 1
    PUSH32 1
    PUSH32 0x1234
    PUSH32 0x1401
    global 4
    EXTCALL OpenGL, 111
    ENDTRY -1
g11:
    CALL report, none
; a type without a size
    TRY Exception, g12
    PUSH32 0x0DE1
    PUSH32 0
    PUSH32 0
    PUSH32 0
    PUSH32 1
    PUSH32 1
    PUSH32 0x1908
    PUSH32 0x1406
    global 4
    EXTCALL OpenGL, 111
    ENDTRY -1
g12:
    CALL report, none
    EXTCALL OpenGL, 61   ; glGetError
    ITOS
    NATIVE Debug, 1
    RET 0, 2

; report(exception): logs its code and message. [exception, return]
report:
    LDLOC8 -2
    FLDADDR8 1
    LOAD
    ITOS
    NATIVE Debug, 1
    LDLOC8 -2
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
    RET 0, 2

; vminternalthrow(code, message): [code, message, return]
internalthrow:
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Exception
    DUP
    FLDADDR8 1
    LDLOC8 -5
    STORE
    DUP
    FLDADDR8 2
    LDLOC8 -4
    STORE
    THROW
    RET 0, 2
