; Textures from bitmaps (operation 153). A 2 x 2 bitmap drawn with the Graphics natives is
; shown as a texture in five 160-pixel columns, each drawn after one step: as made (row 0 of the
; bitmap at the top, a translucent pixel with its colour unmultiplied); after a texel was
; overwritten with glTexSubImage2D and the unchanged bitmap asked for again (not uploaded
; anew: the texel stays white); after a fillRect; after a setPixel; and, as alpha, after a
; resize to 4 x 4. Every upload of the bitmap gives the same name (-1 logged). A bitmap
; uploaded and dropped loses its texture with the collection after the frame, while the kept
; one keeps its (logged in frames 2 and 3). A non-bitmap and the empty bitmap are logged; the
; sentinel 77 under everything comes back last.
; Globals: 0 the bitmap, 1 a dropped bitmap, 2 frame count, 3 the dropped one's texture,
; 4 the bitmap's texture, 5-6 a byte array, 7-8 the vertices, 9 program, 10 shader
.include "../common.inc"
.include "../errors.inc"
.include "gl.inc"
.globals 11
.function @drawgl drawgl

; Uploads the bitmap and logs whether the name is the first one's.
.macro same
    global 0
    EXTCALL OpenGL, 153
    word 4
    EQ
    logint
.endm

; Shows the texture in column \x: its colours (k = 0) or its alpha (k = 0x3F800000).
.macro column x, k
    push4 \x, 0, 160, 480
    EXTCALL OpenGL, 142   ; glViewport
    word 9
    PUSHSTR "k"
    EXTCALL OpenGL, 151   ; glGetUniformLocation
    PUSH32 \k
    EXTCALL OpenGL, 112   ; glUniform1f
    strip
.endm

.macro pixel x, y, color
    global 0
    push3 \x, \y, \color
    NATIVE Bitmap.setPixel
.endm

.macro fill x, y, color
    global 0
    push4 \x, \y, 1, 1
    PUSH32 \color
    NATIVE Graphics.fillRect
.endm

; An upload of the bitmap at global \slot that must be refused.
.macro refused n, slot
    fails \n
    global \slot
    EXTCALL OpenGL, 153
    failed \n
.endm

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    RET 0, 1

drawgl:
    word 2
    JZ16 first
    on 3, 88   ; glIsTexture: the dropped bitmap's texture has gone
    logint
    on 4, 88   ; glIsTexture: the kept bitmap's has not
    logint
    JMP16 drop
first:
    PUSH32 77
    program 9, 10, "attribute vec2 p; varying vec2 uv; void main() { uv = p * 0.5 + 0.5; gl_Position = vec4(p, 0.0, 1.0); }", "precision mediump float; uniform sampler2D s; uniform float k; varying vec2 uv; void main() { vec4 t = texture2D(s, (floor(uv * 2.0) + 0.5) / 2.0); gl_FragColor = mix(vec4(t.rgb, 1.0), vec4(t.aaa, 1.0), k); }"
    band 7, 0xBF800000, 0x3F800000
    PUSH32 0
    EXTCALL OpenGL, 44    ; glEnableVertexAttribArray
    attrib 7
; the bitmap: red, green / translucent red, blue
    global 0
    push3 2, 2, 0xFF0000FF
    NATIVE Bitmap.create
    fill 0, 0, 0xFFFF0000
    fill 1, 0, 0xFF00FF00
    pixel 0, 1, 0x80FF0000
    global 4
    global 0
    EXTCALL OpenGL, 153
    STORE
    column 0, 0
; a texel overwritten behind the bitmap's back stays: the unchanged bitmap is not uploaded
    global 5
    push2 -1, 4
    NATIVE ByteArray.initFilled
    push4 0x0DE1, 0, 1, 0
    push4 1, 1, 0x1908, 0x1401
    global 5
    EXTCALL OpenGL, 111   ; glTexSubImage2D: white at the bitmap's (1, 1)
    same
    column 160, 0
    fill 1, 0, 0xFFFFFF00
    same
    column 320, 0
    pixel 0, 0, 0xFF00FFFF
    same
    column 480, 0
    global 0
    push2 4, 4
    NATIVE Bitmap.resizeFast
    same
    column 640, 0x3F800000
    refused 1, 5          ; a byte array
    global 1
    push3 0, 0, 0xFFFFFFFF
    NATIVE Bitmap.create
    global 1
    EXTCALL OpenGL, 153   ; the empty bitmap: no texture
    logint
    logint                ; the sentinel
drop:
    global 1
    push3 1, 1, 0xFFFFFFFF
    NATIVE Bitmap.create
    global 3
    global 1
    EXTCALL OpenGL, 153
    STORE
    global 1
    STOREZ
    global 2
    PUSH32 1
    ADDSET
    NATIVE Screen.repaint
    RET 0, 2
