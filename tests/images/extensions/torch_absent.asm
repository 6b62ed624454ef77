; A torch declared absent cannot be opened; without a cover file the cover counts as open.
.function @main main

main:
    EXTCALL 36, 4
    ITOS
    NATIVE Debug, 1
    EXTCALL 36, 3
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
