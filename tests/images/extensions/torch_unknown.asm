; An operation the torch does not know is fatal with its message.
.function @main main

main:
    PUSH32 1
    EXTCALL 36, 5
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
