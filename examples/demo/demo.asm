; Starfall: catch the falling stars with the paddle, let the bombs fall past.
;   Left/Right arrows, dragging the pointer, or tilting (the accelerometer; on a desktop
;   Ctrl+arrows tilt the window's virtual pose) move the paddle.
;   Space, Return or a tap starts a game and goes on after a pause; P pauses;
;   Escape or Q quits. Hiding the window pauses the game, showing it again resumes it.
; A blue star is worth 1, a gold one 5; a star that falls past or a caught bomb costs one of
; three lives. The five best scores are kept in hiscores.txt in the application directory.
; Everything on screen is drawn with OpenGL ES (gl-quads.inc); the texts are drawn with the
; image font font.png into bitmaps that become textures. The game moves one step per frame,
; and a timer asks for a frame every 16 ms while a game runs.

; Global words
.equ QUADS_PROGRAM 0
.equ QUADS_RECT 1
.equ QUADS_COLOUR 2
.equ QUADS_MODE 3
.equ QUADS_SAMPLER 4
.equ QUADS_ARRAYS 5
.equ STATE 10                    ; TITLE, PLAYING or OVER
.equ PAUSED 11
.equ SCORE 12
.equ LIVES 13
.equ PADDLE_X 14                 ; left edge
.equ LEFT_HELD 15
.equ RIGHT_HELD 16
.equ SEED 17
.equ SPAWN 18                    ; steps until the next star
.equ FRAME 19                    ; steps played, for the drifting background
.equ TIMER 20                    ; the frame timer's id, 0 when none runs
.equ TICKER 21                   ; its listener
.equ FONT 22
.equ HUD_BMP 23
.equ HUD_TEX 24
.equ PANEL_BMP 25
.equ PANEL_TEX 26
.equ HUD_DIRTY 27
.equ PANEL_DIRTY 28
.equ SND_CATCH_A 29              ; two players for the catch sound, so quick catches overlap
.equ SND_CATCH_B 30
.equ SND_MISS 31
.equ SND_START 32
.equ SND_OVER 33
.equ CATCH_TOGGLE 34
.equ TEXT 35                     ; a string being built or parsed
.equ FILE 36                     ; a stream holder
.equ TILT 37                     ; the accelerometer's X in 1/256 g
.equ LOOP_I 38                        ; loop counters
.equ LOOP_J 39
.equ LOOP_N 40
.equ VALUE 41
.equ CUR 42                      ; the address of the current star
.equ NEW_RANK 43                 ; the last score's place in the table, -1 for none
.equ HIGH 44                     ; the high-score table, five words (44-48)
.equ STARS 50                    ; six stars of four words (50-73)
.equ GLOBAL_WORDS 74

; Star fields and kinds
.equ STAR_X 0
.equ STAR_Y 1
.equ STAR_SPEED 2
.equ STAR_KIND 3                 ; 0 none
.equ KIND_BLUE 1
.equ KIND_GOLD 2
.equ KIND_BOMB 3
.equ STAR_COUNT 6

.equ TITLE 0
.equ PLAYING 1
.equ OVER 2

.equ PADDLE_Y 440
.equ PADDLE_W 120
.equ PADDLE_H 16

; Key codes as the runtime delivers them
.equ KEY_ESCAPE 0x01000000
.equ KEY_RETURN 0x01000001
.equ KEY_LEFT 0x01000003
.equ KEY_RIGHT 0x01000004
.equ KEY_SPACE 32
.equ KEY_P 80
.equ KEY_Q 81

.globals GLOBAL_WORDS
.class Game
.class Ticker
.class Error refs=2
.selector @timerevent
.impl Ticker ontick
.function @init init
.function @main main
.function @drawgl ondraw
.function @keypressed onkey
.function @keyreleased onkeyup
.function @pointerevent onpointer
.function @foreground onforeground
.function @background onbackground
.function @internalthrow internalthrow
.function @printthrowableandexit uncaught

.include "../include/gl-quads.inc"

.macro gset index, value         ; a global word = a number
    PUSHGLOBALS
    FLDADDR8 \index
    PUSH32 \value
    STORE
.endm

.macro sload field               ; a field of the current star
    gload CUR
    FLDADDR8 \field
    LOAD
.endm

.macro isrunning                 ; pushes whether a game runs and is not paused
    gload STATE
    PUSH32 PLAYING
    EQ
    gload PAUSED
    NOT
    LAND
.endm

.macro play player
    gload \player
    EXTCALL AudioPlayer, 3
.endm

.macro highaddr counter          ; the address of HIGH[counter]
    gaddr HIGH
    gload \counter
    PUSH32 4
    MUL
    ADD
.endm

; Text in the image font: the string on top of the stack, then drawn into a bitmap.
.macro drawtext bitmap, x, y, argb
    gaddr TEXT
    LDLOC8 -2
    STORE
    FRAME8 -1
    gaddr \bitmap
    gload TEXT
    PUSH32 \x
    PUSH32 \y
    PUSH32 \argb
    gload FONT
    NATIVE Graphics.drawString
.endm

; The same, centred in the 512-pixel panel.
.macro centretext y, argb
    gaddr TEXT
    LDLOC8 -2
    STORE
    FRAME8 -1
    gaddr PANEL_BMP
    gload TEXT
    PUSH32 512
    gload FONT
    gload TEXT
    NATIVE Font.width
    SUB
    PUSH32 2
    DIV
    PUSH32 \y
    PUSH32 \argb
    gload FONT
    NATIVE Graphics.drawString
.endm

init:
    RET 0, 0

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Game
    NATIVE System.setApplicationObject
    gaddr TICKER
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Ticker
    STORE
    gaddr FONT
    PUSHSTR "font.png"
    NATIVE System.loadImageFont
    STORE
    gaddr SND_CATCH_A
    PUSHSTR "catch.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    gaddr SND_CATCH_B
    PUSHSTR "catch.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    gaddr SND_MISS
    PUSHSTR "miss.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    gaddr SND_START
    PUSHSTR "start.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    gaddr SND_OVER
    PUSHSTR "over.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    gset SEED, 2035          ; the same stars in every first game
    gset PADDLE_X, 340
    gset LIVES, 3
    gset NEW_RANK, -1
    gset HUD_DIRTY, 1
    gset PANEL_DIRTY, 1
    CALL load_scores, none
    PUSHSTR "starfall: arrows, drag or tilt to move; space or tap to start; Escape quits"
    NATIVE Debug.log
    RET 0, 1

; [listener, return]
ontick:
    NATIVE Screen.repaint
    RET 0, 2

; [application, return]: one step of the game, then the frame.
ondraw:
    isrunning
    JZ16 draw_only
    CALL step, none
draw_only:
    CALL render, none
    RET 0, 2

; ---------------------------------------------------------------- input

; [application, key event, return]
onkey:
    LDLOC8 -2
    NATIVE KeyEvent.keyCode
    DUP
    PUSH32 KEY_LEFT
    EQ
    JZ16 key_not_left
    gset LEFT_HELD, 1
    JMP16 key_done
key_not_left:
    DUP
    PUSH32 KEY_RIGHT
    EQ
    JZ16 key_not_right
    gset RIGHT_HELD, 1
    JMP16 key_done
key_not_right:
    DUP
    PUSH32 KEY_SPACE
    EQ
    LDLOC8 -2
    PUSH32 KEY_RETURN
    EQ
    LOR
    JZ16 key_not_action
    CALL action, none
    JMP16 key_done
key_not_action:
    DUP
    PUSH32 KEY_P
    EQ
    JZ16 key_not_pause
    gload STATE
    PUSH32 PLAYING
    EQ
    JZ16 key_done
    gload PAUSED
    JZ16 key_pause
    CALL resume, none
    JMP16 key_done
key_pause:
    CALL pause, none
    JMP16 key_done
key_not_pause:
    DUP
    PUSH32 KEY_ESCAPE
    EQ
    LDLOC8 -2
    PUSH32 KEY_Q
    EQ
    LOR
    JZ16 key_done
    PUSHSTR "starfall: bye"
    NATIVE Debug.log
    NATIVE System.exit
key_done:
    RET 1, 4

; [application, key event, return]
onkeyup:
    LDLOC8 -2
    NATIVE KeyEvent.keyCode
    DUP
    PUSH32 KEY_LEFT
    EQ
    JZ16 keyup_not_left
    gset LEFT_HELD, 0
keyup_not_left:
    DUP
    PUSH32 KEY_RIGHT
    EQ
    JZ16 keyup_done
    gset RIGHT_HELD, 0
keyup_done:
    RET 1, 4

; [application, type, x, y, modifiers, return]: type 0 press, 1 release, 6 move.
onpointer:
    LDLOC8 -5
    JZ16 pointer_press
    LDLOC8 -5
    PUSH32 6
    EQ
    JZ16 pointer_done
    isrunning
    JZ16 pointer_done
    LDLOC8 -4
    CALL place_paddle, none
    JMP16 pointer_done
pointer_press:
    LDLOC8 -4                    ; a tap also places the paddle
    CALL place_paddle, none
    isrunning
    JZ16 pointer_action
    JMP16 pointer_done
pointer_action:
    CALL action, none
pointer_done:
    RET 0, 6

; [x, return]: the paddle centred on x, inside the screen.
place_paddle:
    gaddr PADDLE_X
    LDLOC8 -3
    PUSH32 PADDLE_W
    PUSH32 2
    DIV
    SUB
    STORE
    CALL clamp_paddle, none
    RET 0, 2

clamp_paddle:
    gaddr PADDLE_X
    gload PADDLE_X
    PUSH0
    NATIVE Math.maxInt
    PUSH32 800
    PUSH32 PADDLE_W
    SUB
    NATIVE Math.minInt
    STORE
    RET 0, 1

; Space, Return or a tap: start a game, or go on after a pause.
action:
    gload STATE
    PUSH32 PLAYING
    EQ
    JZ16 action_start
    gload PAUSED
    JZ16 action_done
    CALL resume, none
    JMP16 action_done
action_start:
    CALL start_game, none
action_done:
    RET 0, 1

; [application, return]
onbackground:
    isrunning
    JZ16 background_done
    CALL pause, none
background_done:
    RET 0, 2

; [application, return]
onforeground:
    gload PAUSED
    JZ16 foreground_done
    CALL resume, none
foreground_done:
    RET 0, 2

pause:
    gset PAUSED, 1
    gset LEFT_HELD, 0
    gset RIGHT_HELD, 0
    gset PANEL_DIRTY, 1
    CALL stop_timer, none
    PUSHSTR "starfall: paused"
    NATIVE Debug.log
    NATIVE Screen.repaint
    RET 0, 1

resume:
    PUSHSTR "starfall: resumed"
    NATIVE Debug.log
    gset PAUSED, 0
    CALL start_timer, none
    NATIVE Screen.repaint
    RET 0, 1

start_timer:
    gload TIMER
    JZ16 start_timer_now
    RET 0, 1
start_timer_now:
    gaddr TIMER
    gload TICKER
    PUSH32 16
    NATIVE Timer.addTimer
    STORE
    RET 0, 1

stop_timer:
    gload TIMER
    JZ16 stop_timer_done
    gload TIMER
    NATIVE Timer.removeTimer
    gset TIMER, 0
stop_timer_done:
    RET 0, 1

; ---------------------------------------------------------------- the game

start_game:
    gset STATE, PLAYING
    gset PAUSED, 0
    gset SCORE, 0
    gset LIVES, 3
    gset SPAWN, 10
    gset NEW_RANK, -1
    gset HUD_DIRTY, 1
    gaddr STARS
    CLEAR8 24
    play SND_START
    PUSHSTR "starfall: game started"
    NATIVE Debug.log
    CALL start_timer, none
    NATIVE Screen.repaint
    RET 0, 1

step:
    gaddr FRAME
    INC
    PUSH0                        ; the paddle's speed this step
    gload LEFT_HELD
    JZ16 step_not_left
    PUSH32 -10
    ADD
step_not_left:
    gload RIGHT_HELD
    JZ16 step_not_right
    PUSH32 10
    ADD
step_not_right:
    CALL read_tilt, none         ; 1 g moves 24 pixels a step
    gload TILT
    PUSH32 3
    MUL
    PUSH32 32
    DIV
    ADD
    gaddr PADDLE_X
    LDLOC8 -2
    ADDSET
    FRAME8 -1
    CALL clamp_paddle, none
    gaddr SPAWN
    DEC
    gload SPAWN
    PUSH0
    GT
    JZ16 step_spawn
    JMP16 step_move
step_spawn:
    CALL spawn_star, none
    gaddr SPAWN                  ; sooner as the score grows
    PUSH32 40
    gload SCORE
    PUSH32 3
    DIV
    SUB
    PUSH32 12
    NATIVE Math.maxInt
    STORE
step_move:
    gset LOOP_I, 0
    gaddr CUR
    gaddr STARS
    STORE
step_star:
    sload STAR_KIND
    JZ16 step_next
    CALL move_star, none
step_next:
    gaddr CUR
    PUSH32 16
    ADDSET
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 STAR_COUNT
    LT
    JZ16 step_done
    JMP16 step_star
step_done:
    RET 0, 1

; TILT = the accelerometer's X (a 32.32 fixed-point value in g) in 1/256 g.
read_tilt:
    gaddr TILT
    EXTCALL Accelerometer, 11    ; [&tilt, fraction, integer]
    PUSH32 256
    MUL
    LDLOC8 -2
    PUSH32 24
    SHR
    PUSH32 255
    AND
    ADD                          ; [&tilt, fraction, value]
    LOCADDR8 -2
    LDLOC8 -2
    STORE
    FRAME8 -1
    STORE
    RET 0, 1

; A new star in the first free place, if any.
spawn_star:
    gset LOOP_I, 0
    gaddr CUR
    gaddr STARS
    STORE
spawn_find:
    sload STAR_KIND
    JZ16 spawn_here
    gaddr CUR
    PUSH32 16
    ADDSET
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 STAR_COUNT
    LT
    JZ16 spawn_done
    JMP16 spawn_find
spawn_here:
    gload CUR
    FLDADDR8 STAR_X
    PUSH32 740
    CALL random, none
    PUSH32 30
    ADD
    STORE
    gload CUR
    FLDADDR8 STAR_Y
    PUSH32 -30
    STORE
    gload CUR                    ; faster as the score grows
    FLDADDR8 STAR_SPEED
    PUSH32 3
    CALL random, none
    PUSH32 3
    ADD
    gload SCORE
    PUSH32 8
    DIV
    PUSH32 8
    NATIVE Math.minInt
    ADD
    STORE
    gload CUR                    ; one in ten gold, two in ten bombs
    FLDADDR8 STAR_KIND
    PUSH32 10
    CALL random, none
    DUP
    JZ16 spawn_gold
    PUSH32 3
    LT
    JZ16 spawn_blue
    PUSH32 KIND_BOMB
    JMP16 spawn_kind
spawn_gold:
    FRAME8 -1
    PUSH32 KIND_GOLD
    JMP16 spawn_kind
spawn_blue:
    PUSH32 KIND_BLUE
spawn_kind:
    STORE
spawn_done:
    RET 0, 1

; [n, return] -> [a number from 0 to n - 1]: a linear congruential generator, so that a game
; depends only on its seed and its input.
random:
    gaddr SEED
    gload SEED
    PUSH32 1103515245
    MUL
    PUSH32 12345
    ADD
    STORE
    LOCADDR8 -2
    gload SEED
    PUSH32 16
    SHR
    PUSH32 32767
    AND
    LDLOC8 -4
    MOD
    STORE
    RET 0, 1

; The current star falls one step; it is caught, or lost below the screen.
move_star:
    gload CUR
    FLDADDR8 STAR_Y
    sload STAR_SPEED
    ADDSET
    sload STAR_Y                 ; touching the paddle?
    PUSH32 PADDLE_Y
    PUSH32 14
    SUB
    GE
    sload STAR_Y
    PUSH32 PADDLE_Y
    PUSH32 PADDLE_H
    ADD
    LE
    LAND
    sload STAR_X
    gload PADDLE_X
    PUSH32 12
    SUB
    GE
    LAND
    sload STAR_X
    gload PADDLE_X
    PUSH32 PADDLE_W
    ADD
    PUSH32 12
    ADD
    LE
    LAND
    JZ16 move_not_caught
    sload STAR_KIND
    PUSH32 KIND_BOMB
    EQ
    JZ16 move_good
    CALL lose_life, none
    JMP16 move_remove
move_good:
    gaddr SCORE
    sload STAR_KIND
    PUSH32 KIND_GOLD
    EQ
    JZ16 move_one
    PUSH32 5
    JMP16 move_add
move_one:
    PUSH32 1
move_add:
    ADDSET
    gset HUD_DIRTY, 1
    gaddr CATCH_TOGGLE
    gload CATCH_TOGGLE
    NOT
    STORE
    gload CATCH_TOGGLE
    JZ16 move_sound_b
    play SND_CATCH_A
    JMP16 move_remove
move_sound_b:
    play SND_CATCH_B
    JMP16 move_remove
move_not_caught:
    sload STAR_Y
    PUSH32 500
    GT
    JZ16 move_done
    sload STAR_KIND
    PUSH32 KIND_BOMB
    EQ
    JZ16 move_lost
    JMP16 move_remove
move_lost:
    CALL lose_life, none
move_remove:
    gload CUR
    FLDADDR8 STAR_KIND
    STOREZ
move_done:
    RET 0, 1

lose_life:
    gload STATE
    PUSH32 PLAYING
    EQ
    JZ16 lose_done
    gaddr LIVES
    DEC
    gset HUD_DIRTY, 1
    gload LIVES
    JZ16 lose_over
    play SND_MISS
    JMP16 lose_done
lose_over:
    CALL game_over, none
lose_done:
    RET 0, 1

game_over:
    gset STATE, OVER
    gset PANEL_DIRTY, 1
    CALL stop_timer, none
    play SND_OVER
    PUSHSTR "starfall: game over, score "
    gload SCORE
    ITOS
    NATIVE String.concat
    NATIVE Debug.log
    CALL insert_score, none
    gload NEW_RANK
    PUSH0
    LT
    JZ16 game_over_save
    RET 0, 1
game_over_save:
    CALL save_scores, none
    RET 0, 1

; ---------------------------------------------------------------- high scores

; The score takes its place in the table (NEW_RANK), moving the lower ones down.
insert_score:
    gset NEW_RANK, -1
    gload SCORE
    PUSH0
    GT
    JZ16 insert_done
    gset LOOP_I, 0
insert_find:
    gload SCORE
    highaddr LOOP_I
    LOAD
    GT
    JZ16 insert_next
    gset LOOP_J, 4
insert_shift:
    gload LOOP_J
    gload LOOP_I
    GT
    JZ16 insert_place
    highaddr LOOP_J
    highaddr LOOP_J
    PUSH32 4
    SUB
    LOAD
    STORE
    gaddr LOOP_J
    DEC
    JMP16 insert_shift
insert_place:
    highaddr LOOP_I
    gload SCORE
    STORE
    gaddr NEW_RANK
    gload LOOP_I
    STORE
    RET 0, 1
insert_next:
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 5
    LT
    JZ16 insert_done
    JMP16 insert_find
insert_done:
    RET 0, 1

; hiscores.txt: one score a line, best first. Lines that are not numbers count as 0; digits
; beyond the eighth are ignored.
load_scores:
    PUSHSTR "hiscores.txt"
    NATIVE FileSystem.fileExists
    JZ16 load_done
    TRY -1, load_failed
    gaddr FILE
    PUSHSTR "hiscores.txt"
    NATIVE FileReader.open
    gaddr TEXT
    gaddr FILE
    gaddr FILE
    NATIVE FileReader.size
    NATIVE InputStream.readBytes
    NATIVE Encoder.decodeUtf8
    STORE
    gaddr FILE
    NATIVE InputStream.close
    ENDTRY -1
    gset LOOP_I, 0                    ; the character
    gset LOOP_N, 0                    ; the line
    gset VALUE, 0
load_char:
    gload LOOP_I
    gload TEXT
    NATIVE String.length
    LT
    JZ16 load_done
    gload TEXT
    gload LOOP_I
    NATIVE String.charAt
    DUP
    PUSH32 10
    EQ
    JZ16 load_digit
    FRAME8 -1
    gload LOOP_N
    PUSH32 5
    LT
    JZ16 load_line_done
    highaddr LOOP_N
    gload VALUE
    STORE
load_line_done:
    gaddr LOOP_N
    INC
    gset VALUE, 0
    JMP16 load_next
load_digit:
    DUP
    PUSH32 48
    GE
    LDLOC8 -2
    PUSH32 57
    LE
    LAND
    gload VALUE
    PUSH32 10000000
    LT
    LAND
    JZ16 load_skip
    PUSH32 48
    SUB
    gload VALUE
    PUSH32 10
    MUL
    ADD
    gaddr VALUE
    LDLOC8 -2
    STORE
load_skip:
    FRAME8 -1
load_next:
    gaddr LOOP_I
    INC
    JMP16 load_char
load_done:
    RET 0, 1
load_failed:
    FRAME8 -1
    PUSHSTR "starfall: cannot read hiscores.txt"
    NATIVE Debug.log
    RET 0, 1

save_scores:
    gaddr TEXT
    PUSHSTR ""
    STORE
    gset LOOP_I, 0
save_line:
    gaddr TEXT
    gload TEXT
    highaddr LOOP_I
    LOAD
    ITOS
    NATIVE String.concat
    PUSHSTR "\n"
    NATIVE String.concat
    STORE
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 5
    LT
    JZ16 save_write
    JMP16 save_line
save_write:
    TRY -1, save_failed
    gaddr FILE
    PUSHSTR "hiscores.txt"
    PUSH0
    NATIVE FileWriter.open
    gaddr FILE
    gload TEXT
    NATIVE Encoder.encodeUtf8
    NATIVE OutputStream.writeBytes
    gaddr FILE
    NATIVE OutputStream.close
    ENDTRY -1
    RET 0, 1
save_failed:
    FRAME8 -1
    PUSHSTR "starfall: cannot write hiscores.txt"
    NATIVE Debug.log
    RET 0, 1

; [code, message, return]: the machine's errors become exceptions that TRY catches.
internalthrow:
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Error
    DUP
    FLDADDR8 1
    LDLOC8 -5
    STORE
    DUP
    FLDADDR8 2
    LDLOC8 -4
    STORE
    THROW

; [exception, return]: an error nothing caught ends the game with its message.
uncaught:
    PUSHSTR "starfall: "
    LDLOC8 -3
    FLDADDR8 2
    LOAD
    NATIVE String.concat
    NATIVE Debug.log
    NATIVE System.exit

; ---------------------------------------------------------------- drawing

render:
    PUSH32 0x0B0F2AFF
    CALL quads_begin, none
    PUSH0                        ; the night sky
    PUSH0
    PUSH32 800
    PUSH32 480
    PUSH32 0x4A3090FF
    PUSH32 QUAD_GRADIENT
    CALL quad, none
    gset LOOP_I, 0                    ; 48 background stars drifting down at three speeds
render_sky:
    gload LOOP_I
    PUSH32 137
    MUL
    PUSH32 31
    ADD
    PUSH32 800
    MOD
    gload LOOP_I
    PUSH32 89
    MUL
    gload FRAME
    gload LOOP_I
    PUSH32 3
    MOD
    PUSH32 1
    ADD
    MUL
    PUSH32 3
    DIV
    ADD
    PUSH32 480
    MOD
    gload LOOP_I
    PUSH32 3
    MOD
    PUSH32 2
    ADD
    DUP
    PUSH32 0xC8D8FF90
    PUSH32 QUAD_SOLID
    CALL quad, none
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 48
    LT
    JZ16 render_stars
    JMP16 render_sky
render_stars:
    gset LOOP_I, 0
    gaddr CUR
    gaddr STARS
    STORE
render_star:
    sload STAR_KIND
    JZ16 render_next
    CALL draw_star, none
render_next:
    gaddr CUR
    PUSH32 16
    ADDSET
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 STAR_COUNT
    LT
    JZ16 render_paddle
    JMP16 render_star
render_paddle:
    gload PADDLE_X               ; its glow, then the bar
    PUSH32 30
    SUB
    PUSH32 PADDLE_Y
    PUSH32 34
    SUB
    PUSH32 PADDLE_W
    PUSH32 60
    ADD
    PUSH32 84
    PUSH32 0x60FF9C50
    PUSH32 QUAD_GLOW
    CALL quad, none
    gload PADDLE_X
    PUSH32 PADDLE_Y
    PUSH32 PADDLE_W
    PUSH32 PADDLE_H
    PUSH32 0x7CFFA8FF
    PUSH32 QUAD_BAR
    CALL quad, none
    gload HUD_DIRTY
    JZ16 render_hud
    CALL build_hud, none
render_hud:
    gload HUD_TEX
    CALL quads_bind, none
    PUSH0
    PUSH32 6
    PUSH32 1024
    PUSH32 32
    PUSH32 0xFFFFFFFF
    PUSH32 QUAD_TEXTURE
    CALL quad, none
    isrunning                    ; a game that runs shows no panel
    JZ16 render_panel_now
    RET 0, 1
render_panel_now:
    gload PANEL_DIRTY
    JZ16 render_panel_ready
    CALL build_panel, none
render_panel_ready:
    PUSH0                        ; the game dimmed behind the panel
    PUSH0
    PUSH32 800
    PUSH32 480
    PUSH32 0x050818B0
    PUSH32 QUAD_SOLID
    CALL quad, none
    gload PANEL_TEX
    CALL quads_bind, none
    PUSH32 144
    PUSH32 60
    PUSH32 512
    PUSH32 512
    PUSH32 0xFFFFFFFF
    PUSH32 QUAD_TEXTURE
    CALL quad, none
    RET 0, 1

; The current star: a glow and a lit disc in its kind's colour.
draw_star:
    sload STAR_KIND
    PUSH32 KIND_BLUE
    EQ
    JZ16 draw_star_not_blue
    PUSH32 0x50C8FFFF
    JMP16 draw_star_colour
draw_star_not_blue:
    sload STAR_KIND
    PUSH32 KIND_GOLD
    EQ
    JZ16 draw_star_bomb
    PUSH32 0xFFD040FF
    JMP16 draw_star_colour
draw_star_bomb:
    PUSH32 0xFF4058FF
draw_star_colour:                ; [colour, return]
    sload STAR_X
    PUSH32 30
    SUB
    sload STAR_Y
    PUSH32 30
    SUB
    PUSH32 60
    PUSH32 60
    LDLOC8 -5                    ; the colour, half transparent
    PUSH32 0xFFFFFF00
    AND
    PUSH32 0x60
    OR
    PUSH32 QUAD_GLOW
    CALL quad, none
    sload STAR_X
    PUSH32 14
    SUB
    sload STAR_Y
    PUSH32 14
    SUB
    PUSH32 28
    PUSH32 28
    LDLOC8 -5
    PUSH32 QUAD_DISC
    CALL quad, none
    RET 1, 2

; The score line at the top of the screen.
build_hud:
    gaddr HUD_BMP
    PUSH32 1024
    PUSH32 32
    PUSH0
    NATIVE Bitmap.create
    PUSHSTR "SCORE "
    gload SCORE
    ITOS
    NATIVE String.concat
    drawtext HUD_BMP, 20, 2, 0xFFFFFFFF
    PUSHSTR "LIVES "
    gload LIVES
    ITOS
    NATIVE String.concat
    drawtext HUD_BMP, 340, 2, 0xFFFF9090
    PUSHSTR "BEST "
    gload HIGH
    gload SCORE
    NATIVE Math.maxInt
    ITOS
    NATIVE String.concat
    drawtext HUD_BMP, 640, 2, 0xFFFFD040
    gaddr HUD_TEX
    gaddr HUD_BMP
    CALL quads_texture, none
    STORE
    gset HUD_DIRTY, 0
    RET 0, 1

; The panel over a paused game, the title and the end of a game.
build_panel:
    gaddr PANEL_BMP
    PUSH32 512
    PUSH32 512
    PUSH0
    NATIVE Bitmap.create
    gload PAUSED
    JZ16 panel_not_paused
    PUSHSTR "PAUSED"
    centretext 120, 0xFFFFD040
    PUSHSTR "SPACE, P OR TAP TO GO ON"
    centretext 160, 0xFFFFFFFF
    JMP16 panel_done
panel_not_paused:
    gload STATE
    PUSH32 OVER
    EQ
    JZ16 panel_title
    PUSHSTR "GAME OVER"
    centretext 0, 0xFFFF6070
    PUSHSTR "SCORE "
    gload SCORE
    ITOS
    NATIVE String.concat
    centretext 36, 0xFFFFFFFF
    PUSHSTR "SPACE OR TAP TO PLAY AGAIN"
    centretext 82, 0xFF80FFA8
    JMP16 panel_table
panel_title:
    PUSHSTR "S T A R F A L L"
    centretext 0, 0xFFFFD040
    PUSHSTR "CATCH THE STARS, DODGE THE BOMBS"
    centretext 36, 0xFFFFFFFF
    PUSHSTR "ARROWS, DRAG OR TILT TO MOVE"
    centretext 62, 0xFFFFFFFF
    PUSHSTR "SPACE OR TAP TO START"
    centretext 96, 0xFF80FFA8
panel_table:
    PUSHSTR "HIGH SCORES"
    centretext 140, 0xFF60D0FF
    gset LOOP_I, 0
panel_row:
    gload LOOP_I                      ; "N.  SCORE", the newest score in gold
    PUSH32 1
    ADD
    ITOS
    PUSHSTR ".  "
    NATIVE String.concat
    highaddr LOOP_I              ; an empty place shows dashes
    LOAD
    DUP
    JZ16 panel_row_empty
    ITOS
    JMP16 panel_row_text
panel_row_empty:
    FRAME8 -1
    PUSHSTR "---"
panel_row_text:
    NATIVE String.concat
    gaddr TEXT
    LDLOC8 -2
    STORE
    FRAME8 -1
    gaddr PANEL_BMP
    gload TEXT
    PUSH32 200
    gload LOOP_I
    PUSH32 26
    MUL
    PUSH32 172
    ADD
    gload LOOP_I
    gload NEW_RANK
    EQ
    JZ16 panel_row_plain
    PUSH32 0xFFFFD040
    JMP16 panel_row_draw
panel_row_plain:
    PUSH32 0xFFFFFFFF
panel_row_draw:
    gload FONT
    NATIVE Graphics.drawString
    gaddr LOOP_I
    INC
    gload LOOP_I
    PUSH32 5
    LT
    JZ16 panel_done
    JMP16 panel_row
panel_done:
    gaddr PANEL_TEX
    gaddr PANEL_BMP
    CALL quads_texture, none
    STORE
    gset PANEL_DIRTY, 0
    RET 0, 1
