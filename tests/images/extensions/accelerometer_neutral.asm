; Without a source the run reads the virtual pose: the neutral vector (here tilted by the
; option), scaled to 1 g.
.include "accelerometer.inc"
.function @main main

main:
    logaxes
    RET 0, 0
