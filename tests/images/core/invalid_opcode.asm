; A byte that is not an opcode stops the machine with its signed value.
.function @main main
main:
    PUSHSTR "before"
    NATIVE Debug, 1
    .byte 200
    RET 0, 0
