; An application whose only drawing native is the default font (a System operation, outside the
; drawing groups) gets the runtime's fonts when it runs without a window, too.
.include "../common.inc"
.function @main main

main:
    NATIVE System.defaultFont
    FRAME8 -1
    logstr "font"
    RET 0, 0
