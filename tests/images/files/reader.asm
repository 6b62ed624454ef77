; The FileReader and InputStream groups: opening, seeking, reading, closing, and the order
; in which their checks fail. Global 0 is the reader's holder field; 2 and 3 hold arrays.
.include "../common.inc"
.globals 8
.include "../errors.inc"
main:
; Without a holder: the position is checked before the open state.
    fails 1
    global 0
    PUSH32 -5
    NATIVE FileReader.seek
    failed 1
    fails 2
    global 0
    PUSH32 3
    NATIVE FileReader.seek
    failed 2
    fails 3
    global 0
    NATIVE FileReader.position
    failed 3
    fails 4
    global 0
    NATIVE FileReader.size
    failed 4
    global 0
    NATIVE InputStream.isOpen
    logint
    global 0
    NATIVE InputStream.close
    fails 5
    global 0
    PUSH32 -1
    NATIVE InputStream.readBytes
    failed 5
    fails 6
    global 0
    PUSH32 1
    NATIVE InputStream.readBytes
    failed 6
; Opening: empty, missing, outside the application, a directory, a null field.
    fails 7
    global 0
    PUSHSTR ""
    NATIVE FileReader.open
    failed 7
    fails 8
    global 0
    PUSHSTR "missing.bin"
    NATIVE FileReader.open
    failed 8
    fails 9
    global 0
    PUSHSTR "../app/data.bin"
    NATIVE FileReader.open
    failed 9
    fails 10
    global 0
    PUSHSTR "sub"
    NATIVE FileReader.open
    failed 10
    fails 11
    PUSH32 0
    PUSHSTR "data.bin"
    NATIVE FileReader.open
    failed 11
    global 0
    NATIVE InputStream.isOpen
    logint
; data.bin holds the ten bytes ABCDEFGHIJ.
    global 0
    PUSHSTR "data.bin"
    NATIVE FileReader.open
    global 0
    NATIVE InputStream.isOpen
    logint
    global 0
    NATIVE FileReader.size
    logint
    global 0
    NATIVE FileReader.position
    logint
    global 0
    PUSH32 4
    NATIVE FileReader.seek
    global 0
    NATIVE FileReader.position
    logint
    global 2
    global 0
    PUSH32 3
    NATIVE InputStream.readBytes
    STORE
    global 2
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE FileReader.position
    logint
; Zero bytes: an empty array, nothing read.
    global 3
    global 0
    PUSH32 0
    NATIVE InputStream.readBytes
    STORE
    global 3
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    logint
    global 0
    NATIVE FileReader.position
    logint
; More than remains: nothing read, the position stays.
    fails 12
    global 0
    PUSH32 4
    NATIVE InputStream.readBytes
    failed 12
    fails 13
    global 0
    PUSH32 2147483647
    NATIVE InputStream.readBytes
    failed 13
    global 0
    NATIVE FileReader.position
    logint
    fails 14
    global 0
    PUSH32 11
    NATIVE FileReader.seek
    failed 14
    global 0
    PUSH32 10
    NATIVE FileReader.seek
    global 0
    NATIVE FileReader.position
    logint
; Opening again replaces the holder; doubled slashes map to the same file.
    global 0
    PUSHSTR "//data.bin"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.position
    logint
    global 2
    global 0
    PUSH32 10
    NATIVE InputStream.readBytes
    STORE
    global 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
; A reader holder is not a writer holder.
    fails 15
    global 0
    PUSH32 0
    NATIVE FileWriter.seek
    failed 15
    fails 16
    global 0
    NATIVE FileWriter.size
    failed 16
    fails 17
    global 0
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 17
    global 0
    NATIVE OutputStream.isOpen
    logint
; Closed: the holder stays and its stream answers "not open".
    global 0
    NATIVE InputStream.close
    global 0
    NATIVE InputStream.isOpen
    logint
    fails 18
    global 0
    PUSH32 1
    NATIVE InputStream.readBytes
    failed 18
    fails 19
    global 0
    PUSH32 0
    NATIVE InputStream.readBytes
    failed 19
    fails 20
    global 0
    PUSH32 0
    NATIVE FileReader.seek
    failed 20
    fails 21
    global 0
    NATIVE FileReader.position
    failed 21
    fails 22
    global 0
    NATIVE FileReader.size
    failed 22
    fails 23
    global 0
    PUSH32 -1
    NATIVE FileReader.seek
    failed 23
    fails 24
    global 0
    PUSH32 0
    NATIVE FileWriter.seek
    failed 24
    global 0
    NATIVE InputStream.close
    fails 25
    PUSH32 0
    NATIVE InputStream.close
    failed 25
; Unknown operations.
    fails 26
    global 0
unknown1:
    NATIVE FileReader, 5
    failed 26
    fails 27
    global 0
unknown2:
    NATIVE InputStream, 4
    failed 27
    fails 28
    global 0
unknown3:
    NATIVE FileReader, 0
    failed 28
    logstr "done"
    RET 0, 0
