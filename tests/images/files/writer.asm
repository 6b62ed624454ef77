; The FileWriter and OutputStream groups: opening to truncate or to append, writing whole
; arrays and ranges, seeking, closing, the order of their checks, and a device error.
.globals 8
.include "../errors.inc"
main:
; Globals: 0 reader field, 1 writer field, 2 "hello", 3-4 an empty array, 5 scratch.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "src.bin"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 5
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 3
    NEWARRAY 1
; Without a holder: "File is not open", tested before the range.
    fails 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 1
    fails 2
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -5
    PUSH32 -7
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 2
    fails 3
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE FileWriter.seek
    failed 3
    fails 4
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileWriter.seek
    failed 4
    fails 5
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    failed 5
    fails 6
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    failed 6
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
; Opening.
    fails 7
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR ""
    PUSH32 0
    NATIVE FileWriter.open
    failed 7
    fails 8
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "a:b"
    PUSH32 0
    NATIVE FileWriter.open
    failed 8
    fails 9
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "../escape.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    failed 9
    fails 10
    PUSHGLOBALS
    FLDADDR8 1
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
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "out/new.txt"
    PUSH32 0
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
; Writing, seeking and overwriting: "hello", then "h" at 1 and "lo" at 2 give "hhloo".
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    NATIVE FileWriter.seek
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 5
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE OutputStream.writeRange
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ITOS
    NATIVE Debug.log
    fails 12
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 6
    NATIVE FileWriter.seek
    failed 12
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 5
    NATIVE FileWriter.seek
; The range checks of writeRange.
    fails 13
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 13
    fails 14
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 2
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 14
    fails 15
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 3
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 15
    fails 16
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 2147483647
    PUSH32 2147483647
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 16
    fails 17
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -2
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 17
    fails 18
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 6
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 18
    fails 19
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 1
    PUSH32 0
    NATIVE OutputStream.writeRange
    failed 19
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
; Closed: an empty array is still written without a word, anything else fails.
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE OutputStream.writeBytes
    fails 20
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 20
    fails 21
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 21
    fails 22
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 22
    fails 23
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 9
    PUSH32 9
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    failed 23
    fails 24
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileWriter.seek
    failed 24
    fails 25
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    failed 25
    fails 26
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -3
    NATIVE FileWriter.seek
    failed 26
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "out/new.txt"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 5
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
; Appending keeps the old bytes in front; not appending starts the file empty.
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "old.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "old.txt"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 8
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "old.txt"
    PUSH32 0
    NATIVE FileWriter.open
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    PUSH32 2
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "old.txt"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 5
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
; A writer holder is not a reader holder.
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "typed.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    fails 27
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileReader.seek
    failed 27
    fails 28
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileReader.size
    failed 28
    fails 29
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    NATIVE InputStream.readBytes
    failed 29
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE InputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE InputStream.close
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
; A device that takes nothing (full -> /dev/full): the write and the close both fail.
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "full"
    PUSH32 0
    NATIVE FileWriter.open
    fails 30
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    failed 30
    fails 31
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    failed 31
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
; Unknown operations.
    fails 32
    PUSHGLOBALS
    FLDADDR8 1
unknown1:
    NATIVE FileWriter, 5
    failed 32
    fails 33
    PUSHGLOBALS
    FLDADDR8 1
unknown2:
    NATIVE OutputStream, 5
    failed 33
    fails 34
    PUSHGLOBALS
    FLDADDR8 1
unknown3:
    NATIVE OutputStream, 255
    failed 34
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
