; gl-cube: a lit cube turning about two axes, drawn with OpenGL ES 2.0.
;   Right or Up    turn faster (or slow a backward turn)
;   Left or Down   turn slower, then backwards
;   Escape         quit
; A 40 ms timer advances the angle by the speed and asks for a repaint; the vertex shader does
; the rotation, perspective and lighting from the angle alone, so the program only counts.
; The vertices are bytes of string constants: '0', '1' and '2' stand for -1, 0 and 1.
.include "../include/app.inc"
.include "../include/gl.inc"
; Globals: 0 the program, 1 u_angle's location, 2 the angle (tenths of a degree, 0-35999),
; 3 the speed (tenths of a degree a tick), 4 and 5 the position and normal arrays, 6 the timer.
.globals 7
.class Cube
.selector @timerevent
.impl Cube tick
.function @main main
.function @drawgl draw
.function @keypressed onkey

main:                                   ; [return]
    NEW CLASS_OBJECT, 1                 ; the application object: draws, keys, timer ticks
    DUP
    SETCLASS Cube
    DUP
    NATIVE System.setApplicationObject
    global 3
    PUSH32 10
    STORE
    global 6
    LDLOC8 -2
    PUSH32 40
    NATIVE Timer.addTimer
    STORE
    FRAME8 -1
    PUSHSTR "gl-cube: arrows change the speed, Escape quits"
    NATIVE Debug.log
    RET 0, 1

; [cube, return]: the first frame compiles the shaders and makes the arrays.
draw:
    global 0
    LOAD
    JZ16 setup
drawcube:
    PUSH0
    PUSH0
    PUSH32 800
    PUSH32 480
    glViewport
    PUSH32 0x3D4CCCCD                   ; 0.05, 0.05, 0.15, 1: a dark blue
    PUSH32 0x3D4CCCCD
    PUSH32 0x3E19999A
    PUSH32 0x3F800000
    glClearColor
    PUSH32 0x4100                       ; GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT
    glClear
    GL_DEPTH_TEST
    glEnable
    global 0
    LOAD
    glUseProgram
    global 1
    LOAD
    global 2
    LOAD
    glUniform1i
    PUSH0
    global 4
    LOAD
    CALL pointbytes, none
    PUSH32 1
    global 5
    LOAD
    CALL pointbytes, none
    GL_TRIANGLES
    PUSH0
    PUSH32 36
    glDrawArrays
    GL_DEPTH_TEST
    glDisable
    RET 0, 2
setup:
    global 0
    PUSH0
    PUSHSTR "attribute vec3 a_position; attribute vec3 a_normal; uniform int u_angle; varying vec3 v_color; void main() { float a = float(u_angle) * 0.00174533; float b = a * 0.7 + 0.5; mat3 ry = mat3(cos(a), 0.0, -sin(a), 0.0, 1.0, 0.0, sin(a), 0.0, cos(a)); mat3 rx = mat3(1.0, 0.0, 0.0, 0.0, cos(b), sin(b), 0.0, -sin(b), cos(b)); vec3 n = a_normal - 49.0; vec3 q = rx * ry * (a_position - 49.0); vec3 m = rx * ry * n; float light = 0.3 + 0.7 * max(dot(m, vec3(0.37, 0.56, 0.74)), 0.0); v_color = (0.5 + 0.5 * n) * light; float d = 4.5 - q.z; gl_Position = vec4(q.x * 1.2, q.y * 2.0, 1.2222 * d - 2.2222, d); }"
    PUSHSTR "precision mediump float; varying vec3 v_color; void main() { gl_FragColor = vec4(v_color, 1.0); }"
    CALL gl_program, none
    STORE
    global 1
    global 0
    LOAD
    PUSHSTR "u_angle"
    glGetUniformLocation
    STORE
    global 4                            ; 36 corners: two triangles for each face
    PUSHSTR "200220222200222202000002022000022020020022222020222220000200202000202002002202222002222022000020220000220200"
    NATIVE Encoder.encodeUtf8
    STORE
    global 5                            ; each corner's face normal
    PUSHSTR "211211211211211211011011011011011011121121121121121121101101101101101101112112112112112112110110110110110110"
    NATIVE Encoder.encodeUtf8
    STORE
    JMP16 drawcube

; [attribute, byte array, return]: the attribute reads three unsigned bytes a vertex from the array.
pointbytes:
    LDLOC8 -3
    glEnableVertexAttribArray
    LDLOC8 -3
    PUSH32 3
    GL_UNSIGNED_BYTE
    PUSH0
    PUSH0
    LDLOC8 -7                           ; the array
    glVertexAttribPointer
    RET 0, 3

; [cube, return]
tick:
    global 2
    global 2
    LOAD
    global 3
    LOAD
    ADD
    PUSH32 36000                        ; whole turns of both axes (0.7 x 3600 is a whole number)
    ADD
    PUSH32 36000
    MOD
    STORE
    NATIVE Screen.repaint
    RET 0, 2

; [cube, key event, return]
onkey:
    LDLOC8 -2
    isescape
    JZ16 notescape
    NATIVE System.exit
notescape:
    LDLOC8 -2
    NATIVE KeyEvent.keyCode             ; [cube, event, return, code]
    LDLOC8 -1
    KEY_RIGHT
    EQ
    LDLOC8 -2
    KEY_UP
    EQ
    OR
    JZ16 notfaster
    PUSH32 5
    JMP16 changespeed
notfaster:
    LDLOC8 -1
    KEY_LEFT
    EQ
    LDLOC8 -2
    KEY_DOWN
    EQ
    OR
    JZ16 keydone
    PUSH32 -5
changespeed:                            ; [.., code, change]: speed stays within -60..60
    global 3
    global 3
    LOAD
    LDLOC8 -3
    ADD
    PUSH32 60
    NATIVE Math.minInt
    PUSH32 -60
    NATIVE Math.maxInt
    STORE
    FRAME8 -1
    global 3
    LOAD
    logtext "gl-cube: speed "
keydone:
    RET 1, 4
