; Leaves the application view and quits at once: the desktop's signal must still reach the bus.
.function @main main

main:
    EXTCALL 37, 1
    PUSHSTR "left the view"
    NATIVE Debug, 1
    NATIVE System, 1
    RET 0, 0
