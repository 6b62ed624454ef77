; The bindings' edges: results replace or add words exactly as listed (a sentinel under it
; all comes back last), empty names reach GL as empty strings, an empty info log (Mesa says
; length 0) is the empty string, and booleans are the low 8 bits of their word:
; glColorMask(0x100, 0x1FF, 1, 1) masks red only, so clearing blue and then white leaves cyan.
.include "../common.inc"
.include "gl.inc"
.globals 24
.function @main main
.function @drawgl drawgl

main:
    NEW CLASS_OBJECT, 1           ; the application object, which receives draw gl
    NATIVE System, 5
    RET 0, 1

drawgl:
    PUSH32 77
    global 0
    NEWARRAY 4
    global 0
    PUSH32 0
    NATIVE IntArray, 19
    global 21
    PUSH32 0x8B31
    EXTCALL OpenGL, 27   ; glCreateShader replaces the type
    STORE
    global 21
    LOAD
    PUSHSTR "void main() { gl_Position = vec4(0.0); }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 21
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 21
    LOAD
    EXTCALL OpenGL, 87   ; glIsShader
    logint
    PUSH32 0
    EXTCALL OpenGL, 82   ; glIsBuffer(0)
    logint
    PUSH32 0
    EXTCALL OpenGL, 85   ; glIsProgram(0)
    logint
    PUSH32 0
    EXTCALL OpenGL, 88   ; glIsTexture(0)
    logint
    PUSH32 0x0B71
    EXTCALL OpenGL, 83   ; glIsEnabled(DEPTH_TEST)
    logint
    global 20
    EXTCALL OpenGL, 26   ; glCreateProgram pushes the name
    STORE
    global 20
    LOAD
    EXTCALL OpenGL, 148   ; the log of a program never linked
    NATIVE Debug, 1
    global 22
    PUSH32 0x8B30
    EXTCALL OpenGL, 27   ; glCreateShader
    STORE
    global 22
    LOAD
    PUSHSTR "void main() { gl_FragColor = vec4(1.0); }"
    EXTCALL OpenGL, 152   ; glShaderSource
    global 22
    LOAD
    EXTCALL OpenGL, 21   ; glCompileShader
    global 20
    LOAD
    global 21
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 20
    LOAD
    global 22
    LOAD
    EXTCALL OpenGL, 2   ; glAttachShader
    global 20
    LOAD
    PUSH32 0
    PUSHSTR ""
    EXTCALL OpenGL, 143   ; glBindAttribLocation with an empty name
    global 20
    LOAD
    EXTCALL OpenGL, 90   ; glLinkProgram
    global 20
    LOAD
    PUSH32 0x8B84
    global 0
    EXTCALL OpenGL, 147   ; glGetProgramiv INFO_LOG_LENGTH
    global 0
    NATIVE IntArray, 9
    logint
    global 20
    LOAD
    EXTCALL OpenGL, 148   ; that log
    NATIVE Debug, 1
    global 20
    LOAD
    PUSHSTR ""
    EXTCALL OpenGL, 146   ; glGetAttribLocation of an empty name
    logint
    global 20
    LOAD
    PUSHSTR ""
    EXTCALL OpenGL, 151   ; glGetUniformLocation of an empty name
    logint
    global 21
    LOAD
    PUSH32 0x8B84
    global 0
    EXTCALL OpenGL, 149   ; glGetShaderiv INFO_LOG_LENGTH
    global 0
    NATIVE IntArray, 9
    logint
    global 21
    LOAD
    EXTCALL OpenGL, 150   ; that log
    NATIVE Debug, 1
    EXTCALL OpenGL, 61   ; glGetError pushes
    logint
    clear 0, 0, 0x3F800000
    push4 0x100, 0x1FF, 1, 1
    EXTCALL OpenGL, 20   ; glColorMask: red off
    clear 0x3F800000, 0x3F800000, 0x3F800000 ; white
    push4 1, 1, 1, 1
    EXTCALL OpenGL, 20   ; glColorMask: all on
    logint
    RET 0, 2
