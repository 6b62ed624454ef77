; A device path that is no V4L2 device: it opens, and switching the torch on fails.
.function @main main

main:
    EXTCALL 36, 1
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
