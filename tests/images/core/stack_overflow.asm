; Unbounded recursion ends in an orderly fatal error, not a crash.
.function @main main
main:
    CALL main, none
    RET 0, 0
