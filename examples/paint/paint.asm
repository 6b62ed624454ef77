; paint: draw with the pointer on an 800 x 480 canvas.
;   pointer press and move   stamp a square brush at the pointer
;   keys 1 to 5              colour: black, red, green, blue, white (white erases)
;   B                        next brush size: 4, 8, 16, 32, then 4 again
;   X                        clear the canvas
;   S                        save the canvas as paint.png in the application directory
;   Escape or Q              quit
; The canvas is a bitmap of its own; the screen's draw handler shows it through OpenGL as the
; texture of a quad that covers the screen, pixel for pixel.
; Globals: 0 the canvas bitmap, 1 the colour, 2 the brush size, 3 pressed (0 or 1), 4 a writer,
; 5 the textured quad.
.include "../include/app.inc"
.include "../include/gl.inc"
.globals 6
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
    PUSH0
    EQ
    JZ16 notpress
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    STORE
    JMP16 stamp
notpress:
    LDLOC8 -5
    PUSH32 1
    EQ
    JZ16 notrelease
    PUSHGLOBALS
    FLDADDR8 3
    PUSH0
    STORE
    RET 0, 6
notrelease:
    LDLOC8 -5
    PUSH32 6
    EQ
    JZ16 pointerdone
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    JZ16 pointerdone
stamp:                                  ; a brush square centred on (x, y)
    PUSHGLOBALS
    FLDADDR8 0
    LDLOC8 -5                           ; x
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSH32 2
    DIV
    SUB
    LDLOC8 -5                           ; y
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSH32 2
    DIV
    SUB
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE Graphics.fillRect
    NATIVE Screen.repaint
pointerdone:
    RET 0, 6

; [application, key event, return]: the key code (Qt's key numbers) replaces the event.
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
    LDLOC8 -2
    PUSH32 16777216                     ; Escape
    EQ
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
