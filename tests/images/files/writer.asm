; The FileWriter and OutputStream groups: opening to truncate or to append, writing whole
; arrays and ranges, seeking, closing, the order of their checks, and a device error.
.include "../common.inc"
.globals 8
.include "../errors.inc"
main:
; Globals: 0 reader field, 1 writer field, 2 "hello", 3-4 an empty array, 5 scratch.
    global 0
    PUSHSTR "src.bin"
    NATIVE FileReader.open
    global 2
    global 0
    PUSH32 5
    NATIVE InputStream.readBytes
    STORE
    global 3
    NEWARRAY 1
; Without a holder: "File is not open", tested before the range.
    fails 1
    global 1
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 1
    fails 2
    global 1
    PUSH32 -5
    PUSH32 -7
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 2
    fails 3
    global 1
    PUSH32 -1
    NATIVE FileWriter.seek
    failed 3
    fails 4
    global 1
    PUSH32 0
    NATIVE FileWriter.seek
    failed 4
    fails 5
    global 1
    NATIVE FileWriter.position
    failed 5
    fails 6
    global 1
    NATIVE FileWriter.size
    failed 6
    global 1
    NATIVE OutputStream.isOpen
    logint
    global 1
    NATIVE OutputStream.close
; Opening.
    fails 7
    global 1
    PUSHSTR ""
    PUSH32 0
    NATIVE FileWriter.open
    failed 7
    fails 8
    global 1
    PUSHSTR "a:b"
    PUSH32 0
    NATIVE FileWriter.open
    failed 8
    fails 9
    global 1
    PUSHSTR "../escape.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    failed 9
    fails 10
    global 1
    PUSHSTR "src.bin/below"
    PUSH32 0
    NATIVE FileWriter.open
    failed 10
    fails 11
    PUSH32 0
    PUSHSTR "x.txt"
    PUSH32 0
    NATIVE FileWriter.open
    failed 11
    global 1
    PUSHSTR "out/new.txt"
    PUSH32 0
    NATIVE FileWriter.open
    global 1
    NATIVE OutputStream.isOpen
    logint
    global 1
    NATIVE FileWriter.size
    logint
; Writing, seeking and overwriting: "hello", then "h" at 1 and "lo" at 2 give "hhloo".
    global 1
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    global 1
    NATIVE FileWriter.position
    logint
    global 1
    NATIVE FileWriter.size
    logint
    global 1
    PUSH32 1
    NATIVE FileWriter.seek
    global 1
    PUSH32 0
    PUSH32 1
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    global 1
    NATIVE FileWriter.position
    logint
    global 1
    PUSH32 3
    PUSH32 -1
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    global 1
    NATIVE FileWriter.position
    logint
    global 1
    PUSH32 5
    PUSH32 0
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    global 1
    global 3
    NATIVE OutputStream.writeBytes
    global 1
    PUSH32 0
    PUSH32 -1
    global 3
    NATIVE OutputStream.writeRange
    global 1
    NATIVE FileWriter.position
    logint
    fails 12
    global 1
    PUSH32 6
    NATIVE FileWriter.seek
    failed 12
    global 1
    PUSH32 5
    NATIVE FileWriter.seek
; The range checks of writeRange.
    fails 13
    global 1
    PUSH32 -1
    PUSH32 0
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 13
    fails 14
    global 1
    PUSH32 -1
    PUSH32 2
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 14
    fails 15
    global 1
    PUSH32 3
    PUSH32 3
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 15
    fails 16
    global 1
    PUSH32 2147483647
    PUSH32 2147483647
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 16
    fails 17
    global 1
    PUSH32 -2
    PUSH32 -1
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 17
    fails 18
    global 1
    PUSH32 6
    PUSH32 -1
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 18
    fails 19
    global 1
    PUSH32 0
    PUSH32 1
    PUSH32 0
    NATIVE OutputStream.writeRange
    failed 19
    global 1
    NATIVE FileWriter.size
    logint
; Closed: an empty array is still written without a word, anything else fails.
    global 1
    NATIVE OutputStream.close
    global 1
    NATIVE OutputStream.isOpen
    logint
    global 1
    global 3
    NATIVE OutputStream.writeBytes
    fails 20
    global 1
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 20
    fails 21
    global 1
    PUSH32 0
    PUSH32 1
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 21
    fails 22
    global 1
    PUSH32 0
    PUSH32 0
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 22
    fails 23
    global 1
    PUSH32 9
    PUSH32 9
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 23
    fails 24
    global 1
    PUSH32 0
    NATIVE FileWriter.seek
    failed 24
    fails 25
    global 1
    NATIVE FileWriter.position
    failed 25
    fails 26
    global 1
    PUSH32 -3
    NATIVE FileWriter.seek
    failed 26
    global 1
    NATIVE OutputStream.close
    global 0
    PUSHSTR "out/new.txt"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 5
    global 0
    PUSH32 5
    NATIVE InputStream.readBytes
    STORE
    global 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE InputStream.close
; Appending keeps the old bytes in front; not appending starts the file empty.
    global 1
    PUSHSTR "old.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    global 1
    NATIVE FileWriter.position
    logint
    global 1
    NATIVE FileWriter.size
    logint
    global 1
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    global 1
    NATIVE FileWriter.size
    logint
    global 1
    NATIVE OutputStream.close
    global 0
    PUSHSTR "old.txt"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 5
    global 0
    PUSH32 8
    NATIVE InputStream.readBytes
    STORE
    global 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE InputStream.close
    global 1
    PUSHSTR "old.txt"
    PUSH32 0
    NATIVE FileWriter.open
    global 1
    NATIVE FileWriter.size
    logint
    global 1
    PUSH32 1
    PUSH32 2
    global 2
    LOAD
    NATIVE OutputStream.writeRange
    global 1
    NATIVE OutputStream.close
    global 0
    PUSHSTR "old.txt"
    NATIVE FileReader.open
    global 0
    NATIVE FileReader.size
    logint
    global 5
    global 0
    PUSH32 2
    NATIVE InputStream.readBytes
    STORE
    global 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    logint
    global 0
    NATIVE InputStream.close
; A writer holder is not a reader holder.
    global 1
    PUSHSTR "typed.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    fails 27
    global 1
    PUSH32 0
    NATIVE FileReader.seek
    failed 27
    fails 28
    global 1
    NATIVE FileReader.size
    failed 28
    fails 29
    global 1
    PUSH32 1
    NATIVE InputStream.readBytes
    failed 29
    global 1
    NATIVE InputStream.isOpen
    logint
    global 1
    NATIVE InputStream.close
    global 1
    NATIVE OutputStream.isOpen
    logint
; A device that takes nothing (full -> /dev/full): the write and the close both fail.
    global 1
    PUSHSTR "full"
    PUSH32 0
    NATIVE FileWriter.open
    fails 30
    global 1
    global 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 30
    fails 31
    global 1
    NATIVE OutputStream.close
    failed 31
    global 1
    NATIVE OutputStream.isOpen
    logint
    global 1
    NATIVE OutputStream.close
; Unknown operations.
    fails 32
    global 1
unknown1:
    NATIVE FileWriter, 5
    failed 32
    fails 33
    global 1
unknown2:
    NATIVE OutputStream, 5
    failed 33
    fails 34
    global 1
unknown3:
    NATIVE OutputStream, 255
    failed 34
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
