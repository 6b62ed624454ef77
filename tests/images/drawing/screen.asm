; The Screen group without a display: the 800 x 480 landscape screen, orientation, repaint
; requests, screen objects (a forged reference is refused before it could become a root), and
; the unknown operation. A sentinel below everything is logged last.
.include "../common.inc"
.globals 16
.class Oops
.function @main main
.function @internalthrow onerror

; Every managed error is logged with its text and thrown as an Oops; each
; expected failure is such a line, so a failure that does not happen shows.
onerror:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    PUSH32 77
    NATIVE Screen.size
    logint
    logint
    NATIVE Screen.orientation
    logint
    PUSH32 1
    NATIVE Screen.setOrientation
    NATIVE Screen.size
    logint
    logint
    NATIVE Screen.orientation
    logint
    NATIVE Screen.repaint
    PUSH32 1
    NATIVE Screen.setFlag
    PUSH0
    PUSH0
    push2 10, 10
    NATIVE Screen.invalidate
    global 0
    NEW CLASS_OBJECT, 1
    STORE
    global 0
    LOAD
    NATIVE Screen.registerObject
    global 0
    LOAD
    NATIVE Screen.unregisterObject
    PUSH0
    NATIVE Screen.registerObject
    TRY -1, e1
    PUSH32 74565
    NATIVE Screen.registerObject
    ENDTRY -1
    PUSH0
e1:
    FRAME8 -1
    TRY -1, e2
    NATIVE Screen, 9
    ENDTRY -1
    PUSH0
e2:
    FRAME8 -1
    logint
    RET 0, 1
