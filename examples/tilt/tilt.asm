; tilt: a ball rolling on a table that the accelerometer tilts; it knocks against the edges.
;   tilt the device     the ball rolls downhill (on a desktop: Ctrl+arrows tilt the virtual
;                       pose, Ctrl+0 levels it; or see zelmo-vm --help for other sources)
;   Escape              quit
; Every 20 ms the acceleration (in g) speeds the ball up by one pixel a tick per g, friction
; takes a 32nd of its speed, and an edge throws it back at three quarters of its speed with the
; clip bounce.raw (raw 16-bit mono PCM at 44100 Hz) when it hit faster than a pixel a tick.
; Positions and speeds are in 256ths of a pixel. The table is a bitmap drawn once with the
; Graphics natives and shown as a texture; the ball is a quad whose fragment shader keeps the
; round part and shades it as a sphere.
.include "../include/app.inc"
.include "../include/gl.inc"
; Globals: 0 the ball's program, 1 u_ball's location, 2 the corner array, 3 x, 4 y,
; 5 x speed, 6 y speed, 7 the bounce clip's player, 8 the timer, 9 the table's bitmap,
; 10 its textured quad.
.globals 11
.class Tilt
.selector @timerevent
.impl Tilt tick
.function @main main
.function @drawgl draw
.function @keypressed onkey

.macro RADIUS
    PUSH32 24
.endm

; Pushes an acceleration component (extension operation 11 X, 12 Y) in 256ths of a g.
.macro acceleration op
    EXTCALL Accelerometer, \op
    PUSH32 256
    NATIVE Fixed.fromInt
    NATIVE Fixed.multiply
    NATIVE Fixed.round
.endm

; Speed component V (a global) gains the acceleration on top of the stack and loses a 32nd.
.macro accelerate v
    global \v
    LOAD
    ADD
    global \v
    LOAD
    PUSH32 32
    DIV
    SUB
    global \v
    LDLOC8 -2
    STORE
    FRAME8 -1
.endm

main:                                   ; [return]
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Tilt
    DUP
    NATIVE System.setApplicationObject
    global 3                            ; the centre of the screen
    PUSH32 102400
    STORE
    global 4
    PUSH32 61440
    STORE
    global 9                            ; a wooden frame around green cloth
    PUSH32 800
    PUSH32 480
    PUSH32 0xFF6B4423
    NATIVE Bitmap.create
    global 9
    PUSH32 12
    PUSH32 12
    PUSH32 776
    PUSH32 456
    PUSH32 0xFF1D6B3C
    NATIVE Graphics.fillRect
    global 7
    PUSHSTR "bounce.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    global 8
    LDLOC8 -2
    PUSH32 20
    NATIVE Timer.addTimer
    STORE
    FRAME8 -1
    PUSHSTR "tilt: tilt the table (Ctrl+arrows on a desktop), Escape quits"
    NATIVE Debug.log
    RET 0, 1

; [tilt, return]
tick:
    acceleration 11                     ; right side down: to the right
    accelerate 5
    acceleration 12                     ; top edge down: up the screen
    NEG
    accelerate 6
    global 3
    global 5
    LOAD
    ADDSET
    global 4
    global 6
    LOAD
    ADDSET
    global 3
    global 5
    PUSH32 9216                         ; (12 + RADIUS) x 256: the frame is 12 pixels wide
    PUSH32 1
    CALL edge, none
    global 3
    global 5
    PUSH32 195584                       ; (800 - 12 - RADIUS) x 256
    PUSH32 -1
    CALL edge, none
    global 4
    global 6
    PUSH32 9216
    PUSH32 1
    CALL edge, none
    global 4
    global 6
    PUSH32 113664                       ; (480 - 12 - RADIUS) x 256
    PUSH32 -1
    CALL edge, none
    NATIVE Screen.repaint
    RET 0, 2

; [&position, &speed, limit, side, return]: side 1 keeps the position at or above the limit,
; -1 at or below it; a position beyond is mirrored back and the speed turned round.
edge:
    LDLOC8 -5
    LOAD
    LDLOC8 -4                           ; the limit
    SUB
    LDLOC8 -3                           ; the side
    MUL
    PUSH0
    LT
    JZ16 inside
    LDLOC8 -5                           ; position = 2 limit - position
    LDLOC8 -4
    PUSH32 2
    MUL
    LDLOC8 -7
    LOAD
    SUB
    STORE
    LDLOC8 -4                           ; the speed
    LOAD
    NATIVE Number.absInt
    PUSH32 256
    GT
    JZ16 quiet
    global 7
    LOAD
    EXTCALL AudioPlayer, 3
    PUSHSTR "tilt: bounce"
    NATIVE Debug.log
quiet:
    LDLOC8 -4                           ; speed = -3/4 speed
    LDLOC8 -5
    LOAD
    PUSH32 -3
    MUL
    PUSH32 4
    DIV
    STORE
inside:
    RET 0, 5

; [tilt, return]: the first frame compiles the shader and makes the corner array.
draw:
    global 0
    LOAD
    JZ16 setup
drawtable:
    PUSH0
    PUSH0
    PUSH32 800
    PUSH32 480
    glViewport
    global 10
    LOAD
    global 9
    glBitmapTexture
    PUSH0
    PUSH0
    PUSH32 800
    PUSH32 480
    CALL gl_quad_draw, none
    global 0
    LOAD
    glUseProgram
    global 1
    LOAD
    global 3
    LOAD
    PUSH32 8
    SHR                                 ; whole pixels
    global 4
    LOAD
    PUSH32 8
    SHR
    RADIUS
    glUniform3i
    PUSH0
    glEnableVertexAttribArray
    PUSH32 1
    glDisableVertexAttribArray
    PUSH0
    PUSH32 2
    GL_UNSIGNED_BYTE
    PUSH0
    PUSH0
    global 2
    LOAD
    glVertexAttribPointer
    GL_TRIANGLE_STRIP
    PUSH0
    PUSH32 4
    glDrawArrays
    RET 0, 2
setup:
    global 0
    PUSH0
    PUSHSTR "attribute vec2 a_position; uniform ivec3 u_ball; varying vec2 v_c; void main() { v_c = a_position - 49.0; vec2 p = vec2(u_ball.xy) + v_c * float(u_ball.z); gl_Position = vec4(p.x / 400.0 - 1.0, 1.0 - p.y / 240.0, 0.0, 1.0); }"
    PUSHSTR "precision mediump float; varying vec2 v_c; void main() { float d = dot(v_c, v_c); if (d > 1.0) discard; vec3 n = vec3(v_c.x, -v_c.y, sqrt(1.0 - d)); float light = max(dot(n, vec3(-0.4, 0.5, 0.77)), 0.0); float shine = pow(max(dot(n, vec3(-0.25, 0.3, 0.92)), 0.0), 40.0); gl_FragColor = vec4(vec3(0.85, 0.15, 0.1) * (0.25 + 0.75 * light) + shine, 1.0); }"
    CALL gl_program, none
    STORE
    global 1
    global 0
    LOAD
    PUSHSTR "u_ball"
    glGetUniformLocation
    STORE
    global 10
    PUSH0
    CALL gl_quad_new, none
    STORE
    global 2
    PUSHSTR "00200222"                  ; the strip's corners (-1,-1) (1,-1) (-1,1) (1,1)
    NATIVE Encoder.encodeUtf8
    STORE
    JMP16 drawtable

; [tilt, key event, return]
onkey:
    LDLOC8 -2
    isescape
    JZ16 keydone
    NATIVE System.exit
keydone:
    RET 0, 3
