; On a platform that gives no OpenGL context (Qt's offscreen one without a display), the first
; OpenGL call ends the run with the reason and status 1; nothing before it is lost.
.include "../common.inc"
.function @main main

main:
    logstr "before"
    PUSH32 0x4000
    EXTCALL OpenGL, 16              ; glClear
    logstr "not reached"
    RET 0, 1
