; Group 37 is beyond the last group.
.function @main main
main:
    NATIVE 37, 1
    RET 0, 0
