; The FileSystem group: existence, creation, listing, renaming and deletion, with the
; messages of their failures, and paths that must stay inside the application directory.
.include "../common.inc"
.globals 8
.include "../errors.inc"
main:
; Existence: an empty path is false without asking; separators are normalised.
    PUSHSTR ""
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "data.bin"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "nothing"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "sub"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "sub\\inner.txt"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "/sub//inner.txt"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "../app/data.bin"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR ""
    NATIVE FileSystem.directoryExists
    logint
    PUSHSTR "sub"
    NATIVE FileSystem.directoryExists
    logint
    PUSHSTR "data.bin"
    NATIVE FileSystem.directoryExists
    logint
; Creating directories and files.
    PUSHSTR "made/deep"
    NATIVE FileSystem.createDirectory
    PUSHSTR "made/deep"
    NATIVE FileSystem.directoryExists
    logint
    fails 1
    PUSHSTR ""
    NATIVE FileSystem.createDirectory
    failed 1
    fails 2
    PUSHSTR "a|b"
    NATIVE FileSystem.createDirectory
    failed 2
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.createFile
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.fileExists
    logint
    fails 3
    PUSHSTR ""
    NATIVE FileSystem.createFile
    failed 3
    fails 4
    PUSHSTR "x:y"
    NATIVE FileSystem.createFile
    failed 4
    fails 5
    PUSHSTR "sub"
    NATIVE FileSystem.createFile
    failed 5
; Listings, each sorted by name, files and directories apart.
    global 0
    PUSHSTR "made/deep"
    NATIVE FileSystem.listFiles
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    global 0
    PUSHSTR "made/deep"
    NATIVE FileSystem.listDirectories
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    PUSHSTR "made"
    NATIVE FileSystem.listDirectories
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    global 0
    PUSHSTR "/"
    NATIVE FileSystem.listDirectories
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    global 0
    PUSHSTR "/"
    NATIVE FileSystem.listFiles
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    fails 6
    PUSHSTR "nothing"
    NATIVE FileSystem.listFiles
    failed 6
    fails 7
    PUSHSTR "data.bin"
    NATIVE FileSystem.listDirectories
    failed 7
    fails 8
    PUSHSTR ".."
    NATIVE FileSystem.listDirectories
    failed 8
; Renaming files: the target directory is made on the way; nothing is replaced.
    PUSHSTR "made/deep/f.txt"
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.renameFile
    PUSHSTR "made/deep/f.txt"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.fileExists
    logint
    fails 9
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem.renameFile
    failed 9
    fails 10
    PUSHSTR "x"
    PUSHSTR ""
    NATIVE FileSystem.renameFile
    failed 10
    fails 11
    PUSHSTR "nothing"
    PUSHSTR "x"
    NATIVE FileSystem.renameFile
    failed 11
    fails 12
    PUSHSTR "data.bin"
    PUSHSTR "sub/inner.txt"
    NATIVE FileSystem.renameFile
    failed 12
    fails 13
    PUSHSTR "data.bin"
    PUSHSTR "../data.bin"
    NATIVE FileSystem.renameFile
    failed 13
; Deleting files and directories.
    fails 14
    PUSHSTR ""
    NATIVE FileSystem.deleteFile
    failed 14
    fails 15
    PUSHSTR "nothing"
    NATIVE FileSystem.deleteFile
    failed 15
    fails 16
    PUSHSTR "sub"
    NATIVE FileSystem.deleteFile
    failed 16
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.deleteFile
    PUSHSTR "made/other/g.txt"
    NATIVE FileSystem.fileExists
    logint
    fails 17
    PUSHSTR ""
    NATIVE FileSystem.deleteDirectory
    failed 17
    fails 18
    PUSHSTR "sub"
    NATIVE FileSystem.deleteDirectory
    failed 18
    fails 19
    PUSHSTR "/"
    NATIVE FileSystem.deleteDirectory
    failed 19
    PUSHSTR "made/deep"
    NATIVE FileSystem.deleteDirectory
    PUSHSTR "made/deep"
    NATIVE FileSystem.directoryExists
    logint
; Renaming directories.
    fails 20
    PUSHSTR ""
    PUSHSTR "x"
    NATIVE FileSystem.renameDirectory
    failed 20
    fails 21
    PUSHSTR "made"
    PUSHSTR ""
    NATIVE FileSystem.renameDirectory
    failed 21
    fails 22
    PUSHSTR "nothing"
    PUSHSTR "y"
    NATIVE FileSystem.renameDirectory
    failed 22
    fails 23
    PUSHSTR "made"
    PUSHSTR "sub"
    NATIVE FileSystem.renameDirectory
    failed 23
    PUSHSTR "made"
    PUSHSTR "moved"
    NATIVE FileSystem.renameDirectory
    PUSHSTR "moved/other"
    NATIVE FileSystem.directoryExists
    logint
    PUSHSTR "made"
    NATIVE FileSystem.fileExists
    logint
; Letters whose low bytes spell "../", a NUL, an absolute path: all stay inside.
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem.createFile
    PUSHSTR "\u{12E}\u{12E}\u{12F}x"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "x"
    NATIVE FileSystem.fileExists
    logint
    global 0
    PUSHSTR "/"
    NATIVE FileSystem.listFiles
    STORE
    global 0
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 0
    LOAD
    NATIVE Debug.log
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 1
    LOAD
    NATIVE Debug.log
    global 0
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
    fails 24
    PUSHSTR "a\0b"
    NATIVE FileSystem.createFile
    failed 24
    PUSHSTR "a"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "a\0b"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "/tmp/x"
    NATIVE FileSystem.createFile
    PUSHSTR "tmp"
    NATIVE FileSystem.directoryExists
    logint
    PUSHSTR "tmp/x"
    NATIVE FileSystem.fileExists
    logint
    PUSHSTR "/tmp/x"
    NATIVE FileSystem.deleteFile
    PUSHSTR "tmp/x"
    NATIVE FileSystem.fileExists
    logint
; Unknown operations.
    fails 25
    PUSHSTR "x"
unknown1:
    NATIVE FileSystem, 11
    failed 25
    fails 26
    PUSHSTR "x"
unknown2:
    NATIVE FileSystem, 0
    failed 26
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
