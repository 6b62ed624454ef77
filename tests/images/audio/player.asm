; The audio player's operations without a sound server (the tests run with PULSE_SERVER naming a
; missing socket): loading and its messages, the type check on players, the operations without
; an effect, and an unknown operation. Global 0 holds a player.
.include "../common.inc"
.include "../errors.inc"
.globals 1

.macro loadFails n, file
    fails \n
    global 0
    PUSHSTR \file
    PUSH0
    EXTCALL AudioPlayer, 1
    failed \n
.endm

main:
    loadFails 1, "missing.raw"
    loadFails 2, "empty.raw"
    fails 3               ; a string where a player belongs
    PUSHSTR "not a player"
    EXTCALL AudioPlayer, 3
    failed 3
; Op 7 replaces the top word by 0 and keeps the one below; 6, 9, 11 and 14 only drop words.
    push2 1234, 77
    EXTCALL AudioPlayer, 7
    logint
    logint
    push4 5, 1, 2, 3
    EXTCALL AudioPlayer, 14
    push2 1, 2
    EXTCALL AudioPlayer, 9
    PUSH32 1
    EXTCALL AudioPlayer, 6
    logint
    PUSH32 1
    EXTCALL AudioPlayer, 5
    logstr "not reached"
    RET 0, 0
