; Leaving the application view without a window or a session bus does nothing visible and the
; application goes on; an unknown desktop operation is fatal with its message.
.include "extension.inc"
.function @main main

main:
    EXTCALL 37, 1
    logstr "still running"
    EXTCALL 37, 2
    logstr "not reached"
    RET 0, 0
