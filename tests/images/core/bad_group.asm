; Group 0 is not a native group.
.function @main main
main:
    NATIVE 0, 1
    RET 0, 0
