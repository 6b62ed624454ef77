; A torch declared absent cannot be opened; without a cover file the cover counts as open.
.include "../common.inc"
.function @main main

main:
    EXTCALL 36, 4
    logint
    EXTCALL 36, 3
    logstr "not reached"
    RET 0, 0
