; The marker after the identity must be two 0xFF bytes.
.marker 255 254
.function @main main
main:
    RET 0, 0
