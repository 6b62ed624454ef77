; The FileSystem group: existence, creation, listing, renaming and deletion, with the
; messages of their failures, and paths that must stay inside the application directory.
.globals 8
.class Error
.function @init init
.function @main main
.function @internalthrow onerror

init:
    RET 0, 0
; Every managed error is logged with its text and thrown as an Error, which main catches.
onerror:
    LDLOC8 -2
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Error
    THROW
main:
; Existence: an empty path is false without asking; separators are normalised.
    PUSHSTR ""
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "data.bin"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "nothing"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "sub"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "sub\\inner.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "/sub//inner.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "../app/data.bin"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR ""
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
    PUSHSTR "sub"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
    PUSHSTR "data.bin"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
; Creating directories and files.
    PUSHSTR "made/deep"
    NATIVE FileSystem, 8
    PUSHSTR "made/deep"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
    TRY -1, h1
    PUSHSTR ""
    NATIVE FileSystem, 8
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d1
h1:
    FRAME8 -1
d1:
    TRY -1, h2
    PUSHSTR "a|b"
    NATIVE FileSystem, 8
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d2
h2:
    FRAME8 -1
d2:
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem, 7
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    TRY -1, h3
    PUSHSTR ""
    NATIVE FileSystem, 7
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d3
h3:
    FRAME8 -1
d3:
    TRY -1, h4
    PUSHSTR "x:y"
    NATIVE FileSystem, 7
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d4
h4:
    FRAME8 -1
d4:
    TRY -1, h5
    PUSHSTR "sub"
    NATIVE FileSystem, 7
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d5
h5:
    FRAME8 -1
d5:
; Listings, each sorted by name, files and directories apart.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made/deep"
    NATIVE FileSystem, 6
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made/deep"
    NATIVE FileSystem, 5
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made"
    NATIVE FileSystem, 5
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem, 5
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem, 6
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug, 1
    TRY -1, h6
    PUSHSTR "nothing"
    NATIVE FileSystem, 6
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d6
h6:
    FRAME8 -1
d6:
    TRY -1, h7
    PUSHSTR "data.bin"
    NATIVE FileSystem, 5
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d7
h7:
    FRAME8 -1
d7:
    TRY -1, h8
    PUSHSTR ".."
    NATIVE FileSystem, 5
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d8
h8:
    FRAME8 -1
d8:
; Renaming files: the target directory is made on the way; nothing is replaced.
    PUSHSTR "made/deep/f.txt"
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem, 9
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    TRY -1, h9
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem, 9
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d9
h9:
    FRAME8 -1
d9:
    TRY -1, h10
    PUSHSTR "x"
    PUSHSTR ""
    NATIVE FileSystem, 9
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d10
h10:
    FRAME8 -1
d10:
    TRY -1, h11
    PUSHSTR "nothing"
    PUSHSTR "x"
    NATIVE FileSystem, 9
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d11
h11:
    FRAME8 -1
d11:
    TRY -1, h12
    PUSHSTR "data.bin"
    PUSHSTR "sub/inner.txt"
    NATIVE FileSystem, 9
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d12
h12:
    FRAME8 -1
d12:
    TRY -1, h13
    PUSHSTR "data.bin"
    PUSHSTR "../data.bin"
    NATIVE FileSystem, 9
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d13
h13:
    FRAME8 -1
d13:
; Deleting files and directories.
    TRY -1, h14
    PUSHSTR ""
    NATIVE FileSystem, 3
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d14
h14:
    FRAME8 -1
d14:
    TRY -1, h15
    PUSHSTR "nothing"
    NATIVE FileSystem, 3
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d15
h15:
    FRAME8 -1
d15:
    TRY -1, h16
    PUSHSTR "sub"
    NATIVE FileSystem, 3
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d16
h16:
    FRAME8 -1
d16:
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem, 3
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    TRY -1, h17
    PUSHSTR ""
    NATIVE FileSystem, 4
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d17
h17:
    FRAME8 -1
d17:
    TRY -1, h18
    PUSHSTR "sub"
    NATIVE FileSystem, 4
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d18
h18:
    FRAME8 -1
d18:
    TRY -1, h19
    PUSHSTR "/"
    NATIVE FileSystem, 4
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d19
h19:
    FRAME8 -1
d19:
    PUSHSTR "made/deep"
    NATIVE FileSystem, 4
    PUSHSTR "made/deep"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
; Renaming directories.
    TRY -1, h20
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem, 10
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d20
h20:
    FRAME8 -1
d20:
    TRY -1, h21
    PUSHSTR "made"
    PUSHSTR ""
    NATIVE FileSystem, 10
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d21
h21:
    FRAME8 -1
d21:
    TRY -1, h22
    PUSHSTR "nothing"
    PUSHSTR "y"
    NATIVE FileSystem, 10
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d22
h22:
    FRAME8 -1
d22:
    TRY -1, h23
    PUSHSTR "made"
    PUSHSTR "sub"
    NATIVE FileSystem, 10
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d23
h23:
    FRAME8 -1
d23:
    PUSHSTR "made"
    PUSHSTR "moved"
    NATIVE FileSystem, 10
    PUSHSTR "moved/other"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
    PUSHSTR "made"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
; Letters whose low bytes spell "../", a NUL, an absolute path: all stay inside.
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem, 7
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "x"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem, 6
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
    TRY -1, h24
    PUSHSTR "a\0b"
    NATIVE FileSystem, 7
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d24
h24:
    FRAME8 -1
d24:
    PUSHSTR "a"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "a\0b"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "/tmp/x"
    NATIVE FileSystem, 7
    PUSHSTR "tmp"
    NATIVE FileSystem, 2
    ITOS
    NATIVE Debug, 1
    PUSHSTR "tmp/x"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
    PUSHSTR "/tmp/x"
    NATIVE FileSystem, 3
    PUSHSTR "tmp/x"
    NATIVE FileSystem, 1
    ITOS
    NATIVE Debug, 1
; Unknown operations.
    TRY -1, h25
    PUSHSTR "x"
    NATIVE FileSystem, 11
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d25
h25:
    FRAME8 -1
d25:
    TRY -1, h26
    PUSHSTR "x"
    NATIVE FileSystem, 0
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug, 1
    JMP16 d26
h26:
    FRAME8 -1
d26:
    PUSHSTR "done"
    NATIVE Debug, 1
    RET 0, 0
