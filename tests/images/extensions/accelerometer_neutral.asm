; Without a source the run reads the virtual pose: the neutral vector (here tilted by the
; option), scaled to 1 g.
.function @main main

main:
    EXTCALL 20, 11
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1
    EXTCALL 20, 12
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1
    EXTCALL 20, 13
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1
    RET 0, 0
