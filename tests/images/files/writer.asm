; The FileWriter and OutputStream groups: opening to truncate or to append, writing whole
; arrays and ranges, seeking, closing, the order of their checks, and a device error.
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
    TRY -1, h1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d1
h1:
    FRAME8 -1
d1:
    TRY -1, h2
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -5
    PUSH32 -7
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d2
h2:
    FRAME8 -1
d2:
    TRY -1, h3
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d3
h3:
    FRAME8 -1
d3:
    TRY -1, h4
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d4
h4:
    FRAME8 -1
d4:
    TRY -1, h5
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d5
h5:
    FRAME8 -1
d5:
    TRY -1, h6
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.size
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d6
h6:
    FRAME8 -1
d6:
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
; Opening.
    TRY -1, h7
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR ""
    PUSH32 0
    NATIVE FileWriter.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d7
h7:
    FRAME8 -1
d7:
    TRY -1, h8
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "a:b"
    PUSH32 0
    NATIVE FileWriter.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d8
h8:
    FRAME8 -1
d8:
    TRY -1, h9
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "../escape.txt"
    PUSH32 -1
    NATIVE FileWriter.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d9
h9:
    FRAME8 -1
d9:
    TRY -1, h10
    PUSHGLOBALS
    FLDADDR8 1
    PUSHSTR "src.bin/below"
    PUSH32 0
    NATIVE FileWriter.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d10
h10:
    FRAME8 -1
d10:
    TRY -1, h11
    PUSH32 0
    PUSHSTR "x.txt"
    PUSH32 0
    NATIVE FileWriter.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d11
h11:
    FRAME8 -1
d11:
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
    TRY -1, h12
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 6
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d12
h12:
    FRAME8 -1
d12:
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 5
    NATIVE FileWriter.seek
; The range checks of writeRange.
    TRY -1, h13
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d13
h13:
    FRAME8 -1
d13:
    TRY -1, h14
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -1
    PUSH32 2
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d14
h14:
    FRAME8 -1
d14:
    TRY -1, h15
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 3
    PUSH32 3
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d15
h15:
    FRAME8 -1
d15:
    TRY -1, h16
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 2147483647
    PUSH32 2147483647
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d16
h16:
    FRAME8 -1
d16:
    TRY -1, h17
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -2
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d17
h17:
    FRAME8 -1
d17:
    TRY -1, h18
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 6
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d18
h18:
    FRAME8 -1
d18:
    TRY -1, h19
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 1
    PUSH32 0
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d19
h19:
    FRAME8 -1
d19:
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
    TRY -1, h20
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d20
h20:
    FRAME8 -1
d20:
    TRY -1, h21
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d21
h21:
    FRAME8 -1
d21:
    TRY -1, h22
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d22
h22:
    FRAME8 -1
d22:
    TRY -1, h23
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 9
    PUSH32 9
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeRange
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d23
h23:
    FRAME8 -1
d23:
    TRY -1, h24
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d24
h24:
    FRAME8 -1
d24:
    TRY -1, h25
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter.position
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d25
h25:
    FRAME8 -1
d25:
    TRY -1, h26
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 -3
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d26
h26:
    FRAME8 -1
d26:
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
    TRY -1, h27
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 0
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d27
h27:
    FRAME8 -1
d27:
    TRY -1, h28
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileReader.size
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d28
h28:
    FRAME8 -1
d28:
    TRY -1, h29
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d29
h29:
    FRAME8 -1
d29:
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
    TRY -1, h30
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d30
h30:
    FRAME8 -1
d30:
    TRY -1, h31
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d31
h31:
    FRAME8 -1
d31:
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream.close
; Unknown operations.
    TRY -1, h32
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE FileWriter, 5
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d32
h32:
    FRAME8 -1
d32:
    TRY -1, h33
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream, 5
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d33
h33:
    FRAME8 -1
d33:
    TRY -1, h34
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE OutputStream, 255
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d34
h34:
    FRAME8 -1
d34:
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
