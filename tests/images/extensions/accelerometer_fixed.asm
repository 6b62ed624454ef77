; Fixed accelerometer values in g; the option wins over ZELMO_ACCELEROMETER.
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
