; Logs every event the window delivers: key presses and releases by runtime key code, pointer
; events by type and logical position, foreground and background. The key 'p' turns the screen
; to portrait, 'x' logs the accelerometer's X and Y readings, 'q' ends the run.
.include "../images/common.inc"
.class App
.function @main main
.function @keypressed onpress
.function @keyreleased onrelease
.function @pointerevent onpointer
.function @foreground onforeground
.function @background onbackground

; Appends " " and the int in local \n to the text on top.
.macro local n
    PUSHSTR " "
    NATIVE String, 48
    LDLOC8 \n
    ITOS
    NATIVE String, 48
.endm
; Appends " " and accelerometer axis \op with three decimals.
.macro axis op
    PUSHSTR " "
    NATIVE String, 48
    EXTCALL 20, \op
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE String, 48
.endm
; Goes on at \label unless the event's key code is \code.
.macro unless code, label
    LDLOC8 -2
    NATIVE KeyEvent, 1
    PUSH32 \code
    EQ
    JZ16 \label
.endm

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS App
    NATIVE System, 5
    logstr "started"
    RET 0, 0

; [app, event, return]
onpress:
    PUSHSTR "press "
    LDLOC8 -3
    NATIVE KeyEvent, 1
    ITOS
    NATIVE String, 48
    NATIVE Debug, 1
    unless 80, notp
    PUSH32 1
    NATIVE Screen, 3
notp:
    unless 88, notx
    PUSHSTR "tilt"
    axis 11
    axis 12
    NATIVE Debug, 1
notx:
    unless 81, pressed
    NATIVE System, 1
pressed:
    RET 0, 3

onrelease:
    PUSHSTR "release "
    LDLOC8 -3
    NATIVE KeyEvent, 1
    ITOS
    NATIVE String, 48
    NATIVE Debug, 1
    RET 0, 3

; [app, type, x, y, modifiers, return]
onpointer:
    PUSHSTR "pointer"
    local -6
    local -5
    local -4
    NATIVE Debug, 1
    RET 0, 6

onforeground:
    logstr "foreground"
    RET 0, 2

onbackground:
    logstr "background"
    RET 0, 2
