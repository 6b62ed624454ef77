; Extension 20 read from a coord file ("%i %i %i" in milli-g): X is the second number, Y the
; first, Z the third, each n / 1000 in single precision. The file is read afresh on every call,
; so replacing it changes the next reading; a short or missing file reads 0. An unknown
; operation is fatal with the extension's message.
.function @main main

main:
    EXTCALL 20, 11                  ; X
    MKBLOCK8 2
    PUSH32 9
    NATIVE Fixed, 24
    NATIVE Debug, 1
    EXTCALL 20, 12                  ; Y
    MKBLOCK8 2
    PUSH32 9
    NATIVE Fixed, 24
    NATIVE Debug, 1
    EXTCALL 20, 13                  ; Z
    MKBLOCK8 2
    PUSH32 9
    NATIVE Fixed, 24
    NATIVE Debug, 1
    ; tilt: "0x10 -20 1000" replaces the file
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    PUSHSTR "next"
    PUSHSTR "coord"
    NATIVE FileSystem, 9
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
    ; two numbers only
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    PUSHSTR "short"
    PUSHSTR "coord"
    NATIVE FileSystem, 9
    EXTCALL 20, 12
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1
    ; no file at all
    PUSHSTR "coord"
    NATIVE FileSystem, 3
    EXTCALL 20, 11
    MKBLOCK8 2
    PUSH32 3
    NATIVE Fixed, 24
    NATIVE Debug, 1
    EXTCALL 20, 14
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
