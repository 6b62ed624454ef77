; Draws four regions of the 800 x 480 screen with the OpenGL extension and leaves a fifth
; cleared: a client vertex array with a 4f uniform (red), a vertex buffer with client byte
; indices and a 4fv uniform (green), a texture uploaded from a byte array and sampled by a
; 1i/1f-controlled shader (yellow and magenta); the clear colour (blue) shows on the right.
; The runner checks those pixels in the screenshot of the first frame. Logged: both compile
; statuses, the link status, the (empty) link log and glGetError.
.include "../common.inc"
.globals 28                     ; arrays at 0-6 (two words each), names at words 20-27
.function @main main
.function @drawgl drawgl

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    RET 0, 1

drawgl:
    PUSH32 0
    PUSH32 0
    PUSH32 0x3F800000
    PUSH32 0x3F800000
    EXTCALL OpenGL, 17   ; glClearColor blue
    PUSH32 0x4000
    EXTCALL OpenGL, 16   ; glClear
    global 10
    NEWARRAY 4
    global 10
    PUSH32 0
    NATIVE IntArray, 19
    global 20
    PUSH32 0x8B31
    EXTCALL OpenGL, 27   ; glCreateShader
    STORE
    global 20
    LOAD
    PUSHSTR "attribute vec2 p; void main() { gl_Position = vec4(p, 0.0, 1.0); }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 20
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 20
    LOAD
    PUSH32 0x8B81
    global 10
    EXTCALL OpenGL, 149   ; glGetShaderiv COMPILE_STATUS
    global 10
    NATIVE IntArray, 9
    ITOS
    NATIVE Debug, 1
    global 21
    PUSH32 0x8B30
    EXTCALL OpenGL, 27   ; glCreateShader
    STORE
    global 21
    LOAD
    PUSHSTR "precision mediump float; uniform vec4 c; uniform sampler2D s; uniform float k; void main() { vec4 t = texture2D(s, vec2(gl_FragCoord.x < 500.0 ? 0.25 : 0.75, 0.5)); gl_FragColor = mix(c, t, k); }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 21
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 21
    LOAD
    PUSH32 0x8B81
    global 10
    EXTCALL OpenGL, 149   ; glGetShaderiv COMPILE_STATUS
    global 10
    NATIVE IntArray, 9
    ITOS
    NATIVE Debug, 1
    global 22
    EXTCALL OpenGL, 26   ; glCreateProgram
    STORE
    global 22
    LOAD
    global 20
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 22
    LOAD
    global 21
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 22
    LOAD
    PUSH32 0
    PUSHSTR "p"
    EXTCALL OpenGL, 143   ; glBindAttribLocation
    global 22
    LOAD
    EXTCALL OpenGL, 90   ; glLinkProgram
    global 22
    LOAD
    PUSH32 0x8B82
    global 10
    EXTCALL OpenGL, 147   ; glGetProgramiv LINK_STATUS
    global 10
    NATIVE IntArray, 9
    ITOS
    NATIVE Debug, 1
    global 22
    LOAD
    EXTCALL OpenGL, 148   ; program info log
    NATIVE Debug, 1
    global 22
    LOAD
    EXTCALL OpenGL, 131   ; glUseProgram
    global 23
    global 22
    LOAD
    PUSHSTR "c"
    EXTCALL OpenGL, 151   ; glGetUniformLocation
    STORE
    global 24
    global 22
    LOAD
    PUSHSTR "k"
    EXTCALL OpenGL, 151   ; glGetUniformLocation
    STORE
    global 25
    global 22
    LOAD
    PUSHSTR "s"
    EXTCALL OpenGL, 151   ; glGetUniformLocation
    STORE
; red: client array, glDrawArrays
    global 23
    LOAD
    PUSH32 0x3F800000
    PUSH32 0
    PUSH32 0
    PUSH32 0x3F800000
    EXTCALL OpenGL, 124   ; glUniform4f
    global 24
    LOAD
    PUSH32 0
    EXTCALL OpenGL, 112   ; glUniform1f
    global 0
    NEWARRAY 4
    global 0
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF000000
    NATIVE IntArray, 19
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    PUSH32 0
    EXTCALL OpenGL, 44   ; glEnableVertexAttribArray
    PUSH32 0
    PUSH32 2
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    global 0
    EXTCALL OpenGL, 141   ; glVertexAttribPointer
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41   ; glDrawArrays
; green: vertices in a buffer, client byte indices
    global 8
    NEWARRAY 4
    global 8
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    global 23
    LOAD
    PUSH32 1
    global 8
    EXTCALL OpenGL, 125   ; glUniform4fv
    global 26
    PUSH32 1
    EXTCALL OpenGL, 144   ; glGenBuffers
    STORE
    PUSH32 0x8892
    global 26
    LOAD
    NATIVE IntArray, 9
    EXTCALL OpenGL, 4   ; glBindBuffer ARRAY_BUFFER
    global 2
    NEWARRAY 4
    global 2
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
    PUSH32 0x8892
    PUSH32 32
    global 2
    PUSH32 0x88E4
    EXTCALL OpenGL, 13   ; glBufferData
    PUSH32 0
    PUSH32 2
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    global 2
    EXTCALL OpenGL, 141   ; glVertexAttribPointer (offset 0 in the buffer)
    global 4
    NEWARRAY 1
    global 4
    DUP
    PUSH32 0
    NATIVE ByteArray, 19
    DUP
    PUSH32 1
    NATIVE ByteArray, 19
    DUP
    PUSH32 2
    NATIVE ByteArray, 19
    PUSH32 3
    NATIVE ByteArray, 19
    PUSH32 5
    PUSH32 4
    PUSH32 0x1401
    global 4
    EXTCALL OpenGL, 42   ; glDrawElements
    PUSH32 0x8892
    PUSH32 0
    EXTCALL OpenGL, 4   ; glBindBuffer 0
; yellow and magenta: a 2 x 1 texture from a byte array
    global 27
    PUSH32 1
    EXTCALL OpenGL, 145   ; glGenTextures
    STORE
    PUSH32 0x0DE1
    global 27
    LOAD
    NATIVE IntArray, 9
    EXTCALL OpenGL, 7   ; glBindTexture
    PUSH32 0x0DE1
    PUSH32 0x2801
    PUSH32 0x2600
    EXTCALL OpenGL, 109   ; glTexParameteri MIN_FILTER NEAREST
    PUSH32 0x0DE1
    PUSH32 0x2800
    PUSH32 0x2600
    EXTCALL OpenGL, 109   ; glTexParameteri MAG_FILTER NEAREST
    PUSH32 0x0CF5
    PUSH32 1
    EXTCALL OpenGL, 91   ; glPixelStorei UNPACK_ALIGNMENT
    global 6
    NEWARRAY 1
    global 6
    DUP
    PUSH32 255
    NATIVE ByteArray, 19
    DUP
    PUSH32 255
    NATIVE ByteArray, 19
    DUP
    PUSH32 0
    NATIVE ByteArray, 19
    DUP
    PUSH32 255
    NATIVE ByteArray, 19
    DUP
    PUSH32 255
    NATIVE ByteArray, 19
    DUP
    PUSH32 0
    NATIVE ByteArray, 19
    DUP
    PUSH32 255
    NATIVE ByteArray, 19
    PUSH32 255
    NATIVE ByteArray, 19
    PUSH32 0x0DE1
    PUSH32 0
    PUSH32 0x1908
    PUSH32 2
    PUSH32 1
    PUSH32 0
    PUSH32 0x1908
    PUSH32 0x1401
    global 6
    EXTCALL OpenGL, 106   ; glTexImage2D
    global 25
    LOAD
    PUSH32 0
    EXTCALL OpenGL, 114   ; glUniform1i
    global 24
    LOAD
    PUSH32 0x3F800000
    EXTCALL OpenGL, 112   ; glUniform1f
    global 12
    NEWARRAY 4
    global 12
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0xBF800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x00000000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    DUP
    PUSH32 0x3F000000
    NATIVE IntArray, 19
    PUSH32 0x3F800000
    NATIVE IntArray, 19
    PUSH32 0
    PUSH32 2
    PUSH32 0x1406
    PUSH32 0
    PUSH32 0
    global 12
    EXTCALL OpenGL, 141   ; glVertexAttribPointer
    PUSH32 5
    PUSH32 0
    PUSH32 4
    EXTCALL OpenGL, 41   ; glDrawArrays
    EXTCALL OpenGL, 61   ; glGetError
    ITOS
    NATIVE Debug, 1
    RET 0, 2
