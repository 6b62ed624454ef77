; Recursive fib(32).
.function @main main

main:
    PUSH0
    PUSH32 32
    CALL fib, none
    ITOS
    NATIVE Debug.log
    RET 0, 0

; fib: [result, n, return] -> result = fib(n)
fib:
    LDLOC8 -2
    PUSH32 2
    LT
    JZ16 recurse
    LOCADDR8 -3
    LDLOC8 -3
    STORE
    RET 0, 2
recurse:
    LOCADDR8 -3
    PUSH0
    LDLOC8 -4
    PUSH32 1
    SUB
    CALL fib, none
    PUSH0
    LDLOC8 -5
    PUSH32 2
    SUB
    CALL fib, none
    ADD
    STORE
    RET 0, 2
