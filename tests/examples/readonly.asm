; Run from a read-only application directory: writes note.txt and reads it back, then reads
; installed.txt, which only the directory holds.
.globals 2
.function @main main

main:
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "saves/note.txt"
    PUSH0
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "written and read back"
    NATIVE Encoder.encodeUtf8
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE OutputStream.close
    PUSHSTR "saves/note.txt"
    CALL show, none
    PUSHSTR "installed.txt"
    CALL show, none
    RET 0, 1

; [path, return]: logs the file's text.
show:
    PUSHGLOBALS
    FLDADDR8 1
    LDLOC8 -3
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 1
    DUP
    NATIVE FileReader.size
    NATIVE InputStream.readBytes
    NATIVE Encoder.decodeUtf8
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE InputStream.close
    RET 0, 2
