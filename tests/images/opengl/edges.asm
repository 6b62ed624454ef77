; The bindings' edges: results replace or add words exactly as listed (a sentinel under it
; all comes back last), empty names reach GL as empty strings, an empty info log (Mesa says
; length 0) is the empty string, and booleans are the low 8 bits of their word:
; glColorMask(0x100, 0x1FF, 1, 1) masks red only, so clearing blue and then white leaves cyan.
.include "../common.inc"
.include "gl.inc"
.globals 24
.function @main main
.function @drawgl drawgl

; Logs operation \op of the word \word.
.macro logop op, word
    PUSH32 \word
    EXTCALL OpenGL, \op
    logint
.endm
; Logs the info log (operation \op) of the object at global \slot, and before it its length
; (operation \lengthop, INFO_LOG_LENGTH into the int array at global 0).
.macro loginfo slot, lengthop, op
    word \slot
    PUSH32 0x8B84
    global 0
    EXTCALL OpenGL, \lengthop
    global 0
    NATIVE IntArray, 9
    logint
    on \slot, \op
    NATIVE Debug, 1
.endm
; Logs operation \op of the program and an empty name.
.macro logempty op
    word 20
    PUSHSTR ""
    EXTCALL OpenGL, \op
    logint
.endm

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
    global 20
    EXTCALL OpenGL, 26    ; glCreateProgram pushes the name
    STORE
    on 20, 148            ; the log of a program never linked
    NATIVE Debug, 1
    shader 20, 21, 0x8B31, "void main() { gl_Position = vec4(0.0); }"
    on 21, 87             ; glIsShader: glCreateShader replaced the type
    logint
    logop 82, 0           ; glIsBuffer
    logop 85, 0           ; glIsProgram
    logop 88, 0           ; glIsTexture
    logop 83, 0x0B71      ; glIsEnabled(DEPTH_TEST)
    shader 20, 22, 0x8B30, "void main() { gl_FragColor = vec4(1.0); }"
    word 20
    PUSH32 0
    PUSHSTR ""
    EXTCALL OpenGL, 143   ; glBindAttribLocation with an empty name
    on 20, 90             ; glLinkProgram
    loginfo 20, 147, 148  ; glGetProgramiv
    logempty 146          ; glGetAttribLocation
    logempty 151          ; glGetUniformLocation
    loginfo 21, 149, 150  ; glGetShaderiv
    logerror              ; glGetError pushes
    clear 0, 0, 0x3F800000
    push4 0x100, 0x1FF, 1, 1
    EXTCALL OpenGL, 20    ; glColorMask: red off
    clear 0x3F800000, 0x3F800000, 0x3F800000 ; white
    push4 1, 1, 1, 1
    EXTCALL OpenGL, 20    ; glColorMask: all on
    logint
    RET 0, 2
