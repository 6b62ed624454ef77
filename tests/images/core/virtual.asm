; Virtual calls pick the implementation by the receiver's exact class.
.include "../common.inc"
.class Shape
.class Square parent=Shape
.class Circle parent=Shape
.class Blob parent=Shape

.function @main main
.selector "<*shape>.area"
.impl Square squarearea
.impl Circle circlearea
.impl Blob blobarea

main:
    PUSH32 3
    CALL make, none        ; [square]
    PUSH0                  ; result slot
    LDLOC8 -2              ; receiver
    DUP
    LOAD                   ; its class id
    CALLV "<*shape>.area"
    logint
    FRAME8 -1
    PUSH32 2
    CALL make, none
    PUSH0
    LDLOC8 -2
    DUP
    LOAD
    CALLV "<*shape>.area"
    logint
    FRAME8 -1
    PUSH32 1
    CALL make, none
    PUSH0
    LDLOC8 -2
    DUP
    LOAD
    CALLV "<*shape>.area"
    logint
    FRAME8 -1
    ; a Shape itself has no implementation: the machine stops
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Shape
    PUSH0
    LDLOC8 -2
    DUP
    LOAD
    CALLV "<*shape>.area"
    PUSHSTR "not reached"
    NATIVE Debug.log
    RET 0, 0

; make: [kind, return] -> replaces kind by a new object of class Square (3), Circle (2), Blob (1)
make:
    NEW CLASS_OBJECT, 2
    LDLOC8 -3
    PUSH32 3
    EQ
    JZ16 notsquare
    DUP
    SETCLASS Square
    JMP16 done
notsquare:
    LDLOC8 -3
    PUSH32 2
    EQ
    JZ16 notcircle
    DUP
    SETCLASS Circle
    JMP16 done
notcircle:
    DUP
    SETCLASS Blob
done:
    LOCADDR8 -3
    LDLOC8 -2
    STORE
    FRAME8 -1
    RET 0, 1

; area: [result, receiver, return]
squarearea:
    LOCADDR8 -3
    PUSH32 16
    STORE
    RET 0, 2
circlearea:
    LOCADDR8 -3
    PUSH32 28
    STORE
    RET 0, 2
blobarea:
    LOCADDR8 -3
    PUSH32 -1
    STORE
    RET 0, 2
