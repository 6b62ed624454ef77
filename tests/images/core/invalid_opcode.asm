; A byte that is not an opcode stops the machine with its signed value.
.function @main main
main:
    PUSHSTR "before"
    NATIVE Debug.log
    .byte 200
    RET 0, 0
