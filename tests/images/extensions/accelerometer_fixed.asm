; Fixed accelerometer values in g; the option wins over ZELMO_ACCELEROMETER.
.include "accelerometer.inc"
.function @main main

main:
    logaxes
    RET 0, 0
