; Extension 20 read from a coord file ("%i %i %i" in milli-g): X is the second number, Y the
; first, Z the third, each n / 1000 in single precision. The file is read afresh on every call,
; so replacing it changes the next reading; a short or missing file reads 0. An unknown
; operation is fatal with the extension's message.
.include "accelerometer.inc"
.function @main main

main:
    logaxis 11, 9                  ; X
    logaxis 12, 9                  ; Y
    logaxis 13, 9                  ; Z
    ; tilt: "0x10 -20 1000" replaces the file
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    PUSHSTR "next"
    PUSHSTR "coord"
    NATIVE FileSystem, 9
    logaxes
    ; two numbers only
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    PUSHSTR "short"
    PUSHSTR "coord"
    NATIVE FileSystem, 9
    logaxis 12, 3
    ; no file at all
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    logaxis 11, 3
    EXTCALL 20, 14
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
