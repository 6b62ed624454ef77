; The audio player's operations without a sound server (the tests run with PULSE_SERVER naming a
; missing socket): loading and its messages, type checks on players, the operations without an
; effect, many clips played and dropped, and an unknown operation.
; Globals: 0 a player, 1 a file reader's holder, 2 a byte array, 3 a loop counter.
.globals 4
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
; A missing file, an empty one, a path outside the application, a null out.
    TRY -1, h1
    PUSHGLOBALS
    FLDADDR8 0
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
    PUSHGLOBALS
    FLDADDR8 0
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
    TRY -1, h3
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "../clip.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d3
h3:
    FRAME8 -1
d3:
    TRY -1, h4
    PUSH0
    PUSHSTR "clip.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d4
h4:
    FRAME8 -1
d4:
; A null byte array; a string where a player belongs; a null player.
    TRY -1, h5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH0
    EXTCALL AudioPlayer, 2
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d5
h5:
    FRAME8 -1
d5:
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
    TRY -1, h7
    PUSH0
    EXTCALL AudioPlayer, 4
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d7
h7:
    FRAME8 -1
d7:
; A clip from a file: stop before play, play, stop, play again.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "clip.raw"
    PUSH0
    EXTCALL AudioPlayer, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    EXTCALL AudioPlayer, 4
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    EXTCALL AudioPlayer, 3
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    EXTCALL AudioPlayer, 4
    PUSHGLOBALS
    FLDADDR8 0
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
; 10,000 clips made from a byte array, played and dropped.
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "clip.raw"
    NATIVE FileReader, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 8
    NATIVE InputStream, 3
    STORE
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 10000
    STORE
loop:
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    PUSH0
    EXTCALL AudioPlayer, 2
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    EXTCALL AudioPlayer, 3
    PUSHGLOBALS
    FLDADDR8 3
    DEC
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    PUSH0
    EQ
    JZ16 loop
    PUSHSTR "10000 played"
    NATIVE Debug, 1
    PUSH32 1
    EXTCALL AudioPlayer, 5
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 0
