; Leaving the application view without a window or a session bus does nothing visible and the
; application goes on; an unknown desktop operation is fatal with its message.
.function @main main

main:
    EXTCALL 37, 1
    PUSHSTR "still running"
    NATIVE Debug, 1
    EXTCALL 37, 2
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
