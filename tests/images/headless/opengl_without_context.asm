; On a platform that gives no OpenGL context (Qt's offscreen one without a display), the first
; OpenGL call ends the run with the reason and status 1; nothing before it is lost.
.function @main main

main:
    PUSHSTR "before"
    NATIVE Debug, 1
    PUSH32 0x4000
    EXTCALL OpenGL, 16              ; glClear
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 1
