; paint: draw with the pointer on an 800 x 480 canvas.
;   pointer press and drag   paint with a square brush
;   keys 1 to 5              colour: black, red, green, blue, white (white erases)
;   B                        next brush size: 4, 8, 16, 32, then 4 again
;   X                        clear the canvas
;   S                        save the canvas as paint.png in the application directory
;   Escape or Q              quit
; The canvas is a bitmap of its own; the screen's draw handler shows it through OpenGL as the
; texture of a quad that covers the screen, pixel for pixel.
; Globals: 0 the canvas bitmap, 1 the colour, 2 the brush size, 3 pressed (0 or 1), 4 a writer,
; 5 the textured quad, 6 and 7 the pointer's last position.
.include "../include/app.inc"
.include "../include/gl.inc"
.globals 8
.class Paint
.function @init init
.function @main main
.function @pointerevent onpointer
.function @keypressed onkey
.function @drawgl ondraw

init:
    RET 0, 0

main:
    NEW CLASS_OBJECT, 1                 ; the application object receives the events
    DUP
    SETCLASS Paint
    NATIVE System.setApplicationObject
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 800
    PUSH32 480
    PUSH32 4294967295                   ; white
    NATIVE Bitmap.create
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 4278190080                   ; black
    STORE
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 8
    STORE
    PUSHSTR "paint: draw with the pointer; 1-5 colour, B brush, X clear, S save, Q quit"
    NATIVE Debug.log
    RET 0, 0

; [application, type, x, y, modifiers, return]; type 0 press, 1 release, 6 move.
onpointer:
    LDLOC8 -5
    JZ16 press
    LDLOC8 -5
    PUSH32 1
    EQ
    JZ16 notrelease
    global 3
    PUSH0
    STORE
    RET 0, 6
notrelease:
    LDLOC8 -5
    PUSH32 6
    EQ
    global 3
    LOAD
    LAND
    JZ16 pointerdone
    global 6                            ; a move with the pointer down: from the last point
    LOAD
    global 7
    LOAD
    LDLOC8 -6                           ; x
    LDLOC8 -6                           ; y
    CALL stroke, none
    JMP16 moved
press:
    global 3
    PUSH32 1
    STORE
    LDLOC8 -4                           ; x
    LDLOC8 -4                           ; y
    CALL stamp, none
moved:
    global 6
    LDLOC8 -5                           ; x
    STORE
    global 7
    LDLOC8 -4                           ; y
    STORE
    NATIVE Screen.repaint
pointerdone:
    RET 0, 6

; [x0, y0, x1, y1, return]: brushes every second pixel of the way from (x0, y0) to (x1, y1),
; its end included: n = max(|x1 - x0|, |y1 - y0|) / 2 + 1 stamps at i / n of the way.
stroke:
    LDLOC8 -3
    LDLOC8 -6
    SUB
    NATIVE Number.absInt
    LDLOC8 -3
    LDLOC8 -6
    SUB
    NATIVE Number.absInt
    NATIVE Math.maxInt
    PUSH32 2
    DIV
    PUSH32 1
    ADD                                 ; [x0, y0, x1, y1, return, n]
    PUSH32 1                            ; [.., n, i]
strokenext:
    LDLOC8 -1
    LDLOC8 -3
    LE
    JZ16 strokedone
    LDLOC8 -5                           ; x0 + (x1 - x0) * i / n
    LDLOC8 -8
    SUB
    LDLOC8 -2
    MUL
    LDLOC8 -3
    DIV
    LDLOC8 -8
    ADD
    LDLOC8 -5                           ; y0 + (y1 - y0) * i / n
    LDLOC8 -8
    SUB
    LDLOC8 -3
    MUL
    LDLOC8 -4
    DIV
    LDLOC8 -8
    ADD
    CALL stamp, none
    LOCADDR8 -1
    INC
    JMP16 strokenext
strokedone:
    FRAME8 -2
    RET 0, 5

; [x, y, return]: a brush square centred on (x, y)
stamp:
    global 0
    LDLOC8 -4
    global 2
    LOAD
    PUSH32 2
    DIV
    SUB
    LDLOC8 -4
    global 2
    LOAD
    PUSH32 2
    DIV
    SUB
    global 2
    LOAD
    global 2
    LOAD
    global 1
    LOAD
    NATIVE Graphics.fillRect
    RET 0, 3

; [application, key event, return]: the key code goes on top.
onkey:
    LDLOC8 -2
    NATIVE KeyEvent.keyCode
    LDLOC8 -1
    PUSH32 49                           ; '1'
    EQ
    JZ16 not1
    PUSH32 4278190080
    JMP16 setcolour
not1:
    LDLOC8 -1
    PUSH32 50
    EQ
    JZ16 not2
    PUSH32 4294901760
    JMP16 setcolour
not2:
    LDLOC8 -1
    PUSH32 51
    EQ
    JZ16 not3
    PUSH32 4278255360
    JMP16 setcolour
not3:
    LDLOC8 -1
    PUSH32 52
    EQ
    JZ16 not4
    PUSH32 4278190335
    JMP16 setcolour
not4:
    LDLOC8 -1
    PUSH32 53
    EQ
    JZ16 notcolour
    PUSH32 4294967295
setcolour:                              ; [code, colour]
    PUSHGLOBALS
    FLDADDR8 1
    LDLOC8 -2
    STORE
    FRAME8 -1
    JMP16 keydone
notcolour:
    LDLOC8 -1
    PUSH32 66                           ; 'B'
    EQ
    JZ16 notbrush
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSH32 2
    MUL                                 ; twice the size ...
    DUP
    PUSH32 32
    GT
    JZ16 brushset
    FRAME8 -1                           ; ... or 4 again after 32
    PUSH32 4
brushset:
    STORE
    JMP16 keydone
notbrush:
    LDLOC8 -1
    PUSH32 88                           ; 'X'
    EQ
    JZ16 notclear
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4294967295
    NATIVE Graphics.clear
    NATIVE Screen.repaint
    JMP16 keydone
notclear:
    LDLOC8 -1
    PUSH32 83                           ; 'S'
    EQ
    JZ16 notsave
    PUSHGLOBALS
    FLDADDR8 4
    PUSHSTR "paint.png"
    PUSH0
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 4
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2                            ; PNG
    NATIVE Bitmap.encode
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 4
    NATIVE OutputStream.close
    PUSHSTR "saved paint.png"
    NATIVE Debug.log
    JMP16 keydone
notsave:
    LDLOC8 -1
    PUSH32 81                           ; 'Q'
    EQ
    LDLOC8 -4                           ; the event
    isescape
    OR
    JZ16 keydone
    NATIVE System.exit
keydone:
    RET 1, 4

; [application, return]: the first frame makes the quad. The canvas is uploaded again only
; after it has changed.
ondraw:
    global 5
    LOAD
    JZ16 makequad
drawcanvas:
    PUSH0
    PUSH0
    PUSH32 800
    PUSH32 480
    glViewport
    global 5
    LOAD
    global 0
    glBitmapTexture
    PUSH0
    PUSH0
    PUSH32 800
    PUSH32 480
    CALL gl_quad_draw, none
    RET 0, 2
makequad:
    global 5
    PUSH0
    CALL gl_quad_new, none
    STORE
    JMP16 drawcanvas
