; The audio player's operations without a sound server (the tests run with PULSE_SERVER naming a
; missing socket): loading and its messages, the type check on players, the operations without
; an effect, and an unknown operation. Global 0 holds a player.
.include "../common.inc"
.globals 1
.class Error
.function @init init
.function @main main
.function @internalthrow onerror

init:
    RET 0, 0
onerror:
    LDLOC8 -2
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Error
    THROW
main:
; A missing file and an empty one.
    TRY -1, h1
    global 0
    PUSHSTR "missing.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d1
h1:
    FRAME8 -1
d1:
    TRY -1, h2
    global 0
    PUSHSTR "empty.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d2
h2:
    FRAME8 -1
d2:
; A string where a player belongs.
    TRY -1, h6
    PUSHSTR "not a player"
    EXTCALL AudioPlayer, 3
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d6
h6:
    FRAME8 -1
d6:
; A clip from a file: stop before play, play, stop, play again.
    global 0
    PUSHSTR "clip.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    global 0
    LOAD
    EXTCALL AudioPlayer, 4
    global 0
    LOAD
    EXTCALL AudioPlayer, 3
    global 0
    LOAD
    EXTCALL AudioPlayer, 4
    global 0
    LOAD
    EXTCALL AudioPlayer, 3
    PUSHSTR "played"
    NATIVE Debug, 1
; Op 7 replaces the top word by 0 and keeps the one below; 6, 9, 11 and 14 only drop words.
    PUSH32 1234
    PUSH32 77
    EXTCALL AudioPlayer, 7
    ITOS
    NATIVE Debug, 1
    ITOS
    NATIVE Debug, 1
    PUSH32 5
    PUSH32 1
    PUSH32 2
    PUSH32 3
    EXTCALL AudioPlayer, 14
    PUSH32 1
    PUSH32 2
    EXTCALL AudioPlayer, 9
    PUSH32 1
    EXTCALL AudioPlayer, 6
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    EXTCALL AudioPlayer, 5
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
