; NEW with GC code 8 (vectors are made only by the machine) is refused.
.function @main main
main:
    NEW 8, 4
    RET 0, 0
