; FileReader and InputStream end to end: a file of the application directory (reached through
; doubled slashes) opened, sized, sought and read into a byte array, a refused read caught, the
; stream closed, and an unknown operation. The order of the checks is FileNativesTest's.
.include "../common.inc"
.globals 2
.include "../errors.inc"
main:
; data.bin holds the ten bytes ABCDEFGHIJ.
    global 0
    PUSHSTR "//data.bin"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 0
    PUSH32 4
    NATIVE FileReader.seek
    global 1
    global 0
    PUSH32 4
    NATIVE InputStream.readBytes
    STORE
    global 1
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE FileReader.position
    logint
    fails 1
    global 0
    PUSH32 3
    NATIVE InputStream.readBytes
    failed 1
    global 0
    NATIVE InputStream.close
    global 0
    NATIVE InputStream.isOpen
    logint
    fails 2
    global 0
unknown1:
    NATIVE FileReader, 5
    failed 2
    logstr "done"
    RET 0, 0
