; Code that runs past its last byte meets the padding, never other memory.
.function @main main
main:
    PUSH32 1
