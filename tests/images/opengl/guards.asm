; Every guard that needs GL state, each hit by one word, while the application draws: each
; call is refused with its exception, nothing reaches the screen (the refused draws would
; paint green) and glGetError stays 0. The attribute arrays change under GL: one exists only
; as the attribute's array across a collection (main returns before the frame), one grows
; into new storage, and one is replaced by an empty array, between pointer and draw.
.include "../common.inc"
.include "../errors.inc"
.include "gl.inc"
.globals 26                     ; arrays at 0-5 (two words each), names at words 20-24
.function @drawgl drawgl

; glDrawArrays(TRIANGLE_STRIP, \first, \count), which must be refused.
.macro refusedDraw n, first, count
    fails \n
    push3 5, \first, \count
    EXTCALL OpenGL, 41
    failed \n
.endm

; glDrawElements(TRIANGLE_STRIP, 4, \type, the bytes at global 2), which must be refused.
.macro refusedElements n, type
    fails \n
    push3 5, 4, \type
    global 2
    EXTCALL OpenGL, 42
    failed \n
.endm

; An image call of 8 words and the bytes at global 4, which must be refused.
.macro refusedImage n, op, a, b, c, d, e, f, g, h
    fails \n
    push4 \a, \b, \c, \d
    push4 \e, \f, \g, \h
    global 4
    EXTCALL OpenGL, \op
    failed \n
.endm

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    program 20, 23, "attribute vec2 p; void main() { gl_Position = vec4(p, 0.0, 1.0); }", "precision mediump float; uniform vec4 c; void main() { gl_FragColor = c; }"
    uniform 21, 20, "c"
; an array that only the attribute holds: a new int array of 8 (from glGenBuffers), its
; elements overwritten with the left quarter's corners
    push4 0, 2, 0x1406, 0
    push2 0, 8
    EXTCALL OpenGL, 144   ; glGenBuffers: a new int array
    band 0, 0xBF800000, 0xBF000000
    DUP
    push2 0, 8
    global 0
    NATIVE IntArray, 26   ; replaceRange: the corners copied in
    EXTCALL OpenGL, 141   ; glVertexAttribPointer(0, 2, FLOAT, false, 0, the array)
    PUSH32 0
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray
    RET 0, 1

drawgl:
    clear 0, 0, 0x3F800000
    color 21, 0x3F800000, 0, 0
    strip                 ; the collected-if-not-rooted array, left quarter
; the second quarter, from an array that then grows past its capacity
    band 0, 0xBF000000, 0
    attrib 0
    put4 0, 0, 0x3F800000, 0, 0x3F800000
    push3 5, 0, 6
    EXTCALL OpenGL, 41   ; glDrawArrays: six vertices of the grown array
    color 21, 0, 0x3F800000, 0 ; green: nothing below may draw
    refusedDraw 1, 0, 7   ; one vertex past the grown array
    refusedDraw 2, 3, 4   ; the same through first
    global 2
    NEWARRAY 1
    putbytes 2, 0, 1, 2, 12
    refusedElements 3, 0x1401 ; a client index past the array
    refusedElements 4, 0x1406 ; an index type without a size
    genbind 22, 144, 0x8893, 4  ; glBindBuffer ELEMENT_ARRAY_BUFFER
    refusedElements 5, 0x1401 ; indices in a buffer with a client array enabled
    push2 0x8893, 0
    EXTCALL OpenGL, 4   ; glBindBuffer 0
    PUSH32 1
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray(1): never pointed
    refusedDraw 6, 0, 4   ; an enabled attribute without an array
    PUSH32 1
    EXTCALL OpenGL, 40   ; glDisableVertexAttribArray(1)
    global 0
    NEWARRAY 4                    ; the attribute's variable now holds an empty array
    refusedDraw 7, 0, 4   ; the replaced array
; an attribute type without a size
    fails 8
    push4 0, 2, 0x140A, 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141
    failed 8
    push4 0, 5, 0x1406, 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141   ; glVertexAttribPointer with size 5: GL refuses it
    logerror   ; glGetError: INVALID_VALUE
    refusedDraw 9, 0, 4   ; ...and the attribute has no array any more
    global 4
    push2 9, 13
    NATIVE ByteArray.initFilled
; 2 x 2 RGB, rows padded to 4: 14 bytes
    refusedImage 10, 106, 0x0DE1, 0, 0x1907, 2, 2, 0, 0x1907, 0x1401
    refusedImage 11, 111, 0x0DE1, 0, 0, 0, 1, 1, 0x1234, 0x1401 ; a format without a size
    logerror   ; glGetError
    RET 0, 2
