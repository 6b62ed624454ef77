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
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Error
    THROW
main:
; Existence: an empty path is false without asking; separators are normalised.
    PUSHSTR ""
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "data.bin"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "nothing"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "sub"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "sub\\inner.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "/sub//inner.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "../app/data.bin"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR ""
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "sub"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "data.bin"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
; Creating directories and files.
    PUSHSTR "made/deep"
    NATIVE FileSystem.createDirectory
    PUSHSTR "made/deep"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
    TRY -1, h1
    PUSHSTR ""
    NATIVE FileSystem.createDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d1
h1:
    FRAME8 -1
d1:
    TRY -1, h2
    PUSHSTR "a|b"
    NATIVE FileSystem.createDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d2
h2:
    FRAME8 -1
d2:
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.createFile
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    TRY -1, h3
    PUSHSTR ""
    NATIVE FileSystem.createFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d3
h3:
    FRAME8 -1
d3:
    TRY -1, h4
    PUSHSTR "x:y"
    NATIVE FileSystem.createFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d4
h4:
    FRAME8 -1
d4:
    TRY -1, h5
    PUSHSTR "sub"
    NATIVE FileSystem.createFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d5
h5:
    FRAME8 -1
d5:
; Listings, each sorted by name, files and directories apart.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made/deep"
    NATIVE FileSystem.listFiles
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made/deep"
    NATIVE FileSystem.listDirectories
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "made"
    NATIVE FileSystem.listDirectories
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem.listDirectories
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem.listFiles
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    TRY -1, h6
    PUSHSTR "nothing"
    NATIVE FileSystem.listFiles
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d6
h6:
    FRAME8 -1
d6:
    TRY -1, h7
    PUSHSTR "data.bin"
    NATIVE FileSystem.listDirectories
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d7
h7:
    FRAME8 -1
d7:
    TRY -1, h8
    PUSHSTR ".."
    NATIVE FileSystem.listDirectories
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d8
h8:
    FRAME8 -1
d8:
; Renaming files: the target directory is made on the way; nothing is replaced.
    PUSHSTR "made/deep/f.txt"
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.renameFile
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    TRY -1, h9
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem.renameFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d9
h9:
    FRAME8 -1
d9:
    TRY -1, h10
    PUSHSTR "x"
    PUSHSTR ""
    NATIVE FileSystem.renameFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d10
h10:
    FRAME8 -1
d10:
    TRY -1, h11
    PUSHSTR "nothing"
    PUSHSTR "x"
    NATIVE FileSystem.renameFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d11
h11:
    FRAME8 -1
d11:
    TRY -1, h12
    PUSHSTR "data.bin"
    PUSHSTR "sub/inner.txt"
    NATIVE FileSystem.renameFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d12
h12:
    FRAME8 -1
d12:
    TRY -1, h13
    PUSHSTR "data.bin"
    PUSHSTR "../data.bin"
    NATIVE FileSystem.renameFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d13
h13:
    FRAME8 -1
d13:
; Deleting files and directories.
    TRY -1, h14
    PUSHSTR ""
    NATIVE FileSystem.deleteFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d14
h14:
    FRAME8 -1
d14:
    TRY -1, h15
    PUSHSTR "nothing"
    NATIVE FileSystem.deleteFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d15
h15:
    FRAME8 -1
d15:
    TRY -1, h16
    PUSHSTR "sub"
    NATIVE FileSystem.deleteFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d16
h16:
    FRAME8 -1
d16:
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.deleteFile
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    TRY -1, h17
    PUSHSTR ""
    NATIVE FileSystem.deleteDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d17
h17:
    FRAME8 -1
d17:
    TRY -1, h18
    PUSHSTR "sub"
    NATIVE FileSystem.deleteDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d18
h18:
    FRAME8 -1
d18:
    TRY -1, h19
    PUSHSTR "/"
    NATIVE FileSystem.deleteDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d19
h19:
    FRAME8 -1
d19:
    PUSHSTR "made/deep"
    NATIVE FileSystem.deleteDirectory
    PUSHSTR "made/deep"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
; Renaming directories.
    TRY -1, h20
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem.renameDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d20
h20:
    FRAME8 -1
d20:
    TRY -1, h21
    PUSHSTR "made"
    PUSHSTR ""
    NATIVE FileSystem.renameDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d21
h21:
    FRAME8 -1
d21:
    TRY -1, h22
    PUSHSTR "nothing"
    PUSHSTR "y"
    NATIVE FileSystem.renameDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d22
h22:
    FRAME8 -1
d22:
    TRY -1, h23
    PUSHSTR "made"
    PUSHSTR "sub"
    NATIVE FileSystem.renameDirectory
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d23
h23:
    FRAME8 -1
d23:
    PUSHSTR "made"
    PUSHSTR "moved"
    NATIVE FileSystem.renameDirectory
    PUSHSTR "moved/other"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "made"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
; Letters whose low bytes spell "../", a NUL, an absolute path: all stay inside.
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem.createFile
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "x"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "/"
    NATIVE FileSystem.listFiles
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
    TRY -1, h24
    PUSHSTR "a\0b"
    NATIVE FileSystem.createFile
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d24
h24:
    FRAME8 -1
d24:
    PUSHSTR "a"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "a\0b"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "/tmp/x"
    NATIVE FileSystem.createFile
    PUSHSTR "tmp"
    NATIVE FileSystem.directoryExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "tmp/x"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
    PUSHSTR "/tmp/x"
    NATIVE FileSystem.deleteFile
    PUSHSTR "tmp/x"
    NATIVE FileSystem.fileExists
    ITOS
    NATIVE Debug.log
; Unknown operations.
    TRY -1, h25
    PUSHSTR "x"
    NATIVE FileSystem, 11
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d25
h25:
    FRAME8 -1
d25:
    TRY -1, h26
    PUSHSTR "x"
    NATIVE FileSystem, 0
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d26
h26:
    FRAME8 -1
d26:
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
