; Logs every event the window delivers: key presses and releases by runtime key code, pointer
; events by type and logical position, foreground and background. The key 'p' turns the screen
; to portrait, 'x' logs the accelerometer's X and Y readings, 'q' ends the run.
.class App
.function @main main
.function @keypressed onpress
.function @keyreleased onrelease
.function @pointerevent onpointer
.function @foreground onforeground
.function @background onbackground

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS App
    NATIVE System, 5
    PUSHSTR "started"
    NATIVE Debug, 1
    RET 0, 0

; [app, event, return]
onpress:
    PUSHSTR "press "
    LDLOC8 -3
    NATIVE KeyEvent, 1
    ITOS
    NATIVE String, 48
    NATIVE Debug, 1
    LDLOC8 -2
    NATIVE KeyEvent, 1
    PUSH32 80
    EQ
    JZ16 notp
    PUSH32 1
    NATIVE Screen, 3
notp:
    LDLOC8 -2
    NATIVE KeyEvent, 1
    PUSH32 88
    EQ
    JZ16 notx
    PUSHSTR "tilt "
    EXTCALL 20, 11
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE String, 48
    PUSHSTR " "
    NATIVE String, 48
    EXTCALL 20, 12
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE String, 48
    NATIVE Debug, 1
notx:
    LDLOC8 -2
    NATIVE KeyEvent, 1
    PUSH32 81
    EQ
    JZ16 pressed
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
    PUSHSTR "pointer "
    LDLOC8 -6
    ITOS
    NATIVE String, 48
    PUSHSTR " "
    NATIVE String, 48
    LDLOC8 -5
    ITOS
    NATIVE String, 48
    PUSHSTR " "
    NATIVE String, 48
    LDLOC8 -4
    ITOS
    NATIVE String, 48
    NATIVE Debug, 1
    RET 0, 6

onforeground:
    PUSHSTR "foreground"
    NATIVE Debug, 1
    RET 0, 2

onbackground:
    PUSHSTR "background"
    NATIVE Debug, 1
    RET 0, 2
