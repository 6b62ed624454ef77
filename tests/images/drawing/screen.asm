; The Screen group without a display: the 800 x 480 landscape screen, orientation, repaint
; requests, screen objects (a forged reference is refused before it could become a root) and
; the unknown operation; a sentinel below them is logged last. Then a rectangle copied from an
; address far past guest memory: the orderly fatal error, and nothing after the call runs.
.include "../common.inc"
.include "../errors.inc"
.globals 16

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
    push4 0, 0, 10, 10
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
    fails 1
    PUSH32 74565
    NATIVE Screen.registerObject
    failed 1
    fails 2
unknown:
    NATIVE Screen, 9
    failed 2
    logint
    global 0
    PUSH32 2147483632
    NATIVE Rectangle.copy
    logstr "not reached"
    RET 0, 1
