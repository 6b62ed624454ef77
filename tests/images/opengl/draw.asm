; Draws three regions of the 800 x 480 screen with the OpenGL extension and leaves the rest
; cleared: a vertex buffer with client byte indices and a 4fv uniform (green), a texture uploaded
; from a byte array and sampled by a 1i/1f-controlled shader (yellow and magenta); the clear
; colour (blue) shows at both ends. (A client vertex array with a 4f uniform: guards.asm.)
; The runner checks those pixels in the screenshot of the first frame; glGetError is logged.
.include "../common.inc"
.include "gl.inc"
.globals 28                     ; arrays at 0-9 (two words each), names at words 20-27
.function @main main
.function @drawgl drawgl

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    RET 0, 1

drawgl:
    clear 0, 0, 0x3F800000
    program 22, 20, "attribute vec2 p; void main() { gl_Position = vec4(p, 0.0, 1.0); }", "precision mediump float; uniform vec4 c; uniform sampler2D s; uniform float k; void main() { vec4 t = texture2D(s, vec2(gl_FragCoord.x < 500.0 ? 0.25 : 0.75, 0.5)); gl_FragColor = mix(c, t, k); }"
    uniform 23, 22, "c"
    uniform 24, 22, "k"
    uniform 25, 22, "s"
; green: vertices in a buffer, client byte indices; k = 0 shows the uniform colour
    word 24
    PUSH32 0
    EXTCALL OpenGL, 112   ; glUniform1f
    PUSH32 0
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray
    global 8
    NEWARRAY 4
    put4 8, 0, 0x3F800000, 0, 0x3F800000
    word 23
    PUSH32 1
    global 8
    EXTCALL OpenGL, 125   ; glUniform4fv
    genbind 26, 144, 0x8892, 4  ; glBindBuffer ARRAY_BUFFER
    band 2, 0xBF000000, 0
    push2 0x8892, 32
    global 2
    PUSH32 0x88E4
    EXTCALL OpenGL, 13   ; glBufferData
    attrib 2             ; offset 0 in the buffer
    global 4
    NEWARRAY 1
    putbytes 4, 0, 1, 2, 3
    push3 5, 4, 0x1401
    global 4
    EXTCALL OpenGL, 42   ; glDrawElements
    push2 0x8892, 0
    EXTCALL OpenGL, 4   ; glBindBuffer 0
; yellow and magenta: a 2 x 1 texture from a byte array
    genbind 27, 145, 0x0DE1, 7  ; glBindTexture
    push3 0x0DE1, 0x2801, 0x2600
    EXTCALL OpenGL, 109   ; glTexParameteri MIN_FILTER NEAREST
    push3 0x0DE1, 0x2800, 0x2600
    EXTCALL OpenGL, 109   ; glTexParameteri MAG_FILTER NEAREST
    push2 0x0CF5, 1
    EXTCALL OpenGL, 91   ; glPixelStorei UNPACK_ALIGNMENT
    global 6
    NEWARRAY 1
    putbytes 6, 255, 255, 0, 255
    putbytes 6, 255, 0, 255, 255
    push4 0x0DE1, 0, 0x1908, 2
    push4 1, 0, 0x1908, 0x1401
    global 6
    EXTCALL OpenGL, 106   ; glTexImage2D
    word 25
    PUSH32 0
    EXTCALL OpenGL, 114   ; glUniform1i
    word 24
    PUSH32 0x3F800000
    EXTCALL OpenGL, 112   ; glUniform1f
    band 12, 0, 0x3F000000
    attrib 12
    strip
    logerror   ; glGetError
    RET 0, 2
