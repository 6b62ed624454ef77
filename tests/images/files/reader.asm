; The FileReader and InputStream groups: opening, seeking, reading, closing, and the order
; in which their checks fail. Global 0 is the reader's holder field; 2 and 3 hold arrays.
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
; Without a holder: the position is checked before the open state.
    TRY -1, h1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -5
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d1
h1:
    FRAME8 -1
d1:
    TRY -1, h2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 3
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d2
h2:
    FRAME8 -1
d2:
    TRY -1, h3
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d3
h3:
    FRAME8 -1
d3:
    TRY -1, h4
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d4
h4:
    FRAME8 -1
d4:
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
    TRY -1, h5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d5
h5:
    FRAME8 -1
d5:
    TRY -1, h6
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d6
h6:
    FRAME8 -1
d6:
; Opening: empty, missing, outside the application, a directory, a null field.
    TRY -1, h7
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR ""
    NATIVE FileReader.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d7
h7:
    FRAME8 -1
d7:
    TRY -1, h8
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "missing.bin"
    NATIVE FileReader.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d8
h8:
    FRAME8 -1
d8:
    TRY -1, h9
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "../app/data.bin"
    NATIVE FileReader.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d9
h9:
    FRAME8 -1
d9:
    TRY -1, h10
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "sub"
    NATIVE FileReader.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d10
h10:
    FRAME8 -1
d10:
    TRY -1, h11
    PUSH32 0
    PUSHSTR "data.bin"
    NATIVE FileReader.open
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d11
h11:
    FRAME8 -1
d11:
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.isOpen
    ITOS
    NATIVE Debug.log
; data.bin holds the ten bytes ABCDEFGHIJ.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "data.bin"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.isOpen
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4
    NATIVE FileReader.seek
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 3
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
; Zero bytes: an empty array, nothing read.
    PUSHGLOBALS
    FLDADDR8 3
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 0
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    LOAD
    FLDADDR8 3
    LOAD
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
; More than remains: nothing read, the position stays.
    TRY -1, h12
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d12
h12:
    FRAME8 -1
d12:
    TRY -1, h13
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2147483647
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d13
h13:
    FRAME8 -1
d13:
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
    TRY -1, h14
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 11
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d14
h14:
    FRAME8 -1
d14:
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 10
    NATIVE FileReader.seek
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
; Opening again replaces the holder; doubled slashes map to the same file.
    PUSHGLOBALS
    FLDADDR8 0
    PUSHSTR "//data.bin"
    NATIVE FileReader.open
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 10
    NATIVE InputStream.readBytes
    STORE
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    LOAD
    FLDADDR8 1
    LOAD
    LOAD
    ITOS
    NATIVE Debug.log
; A reader holder is not a writer holder.
    TRY -1, h15
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 0
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d15
h15:
    FRAME8 -1
d15:
    TRY -1, h16
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileWriter.size
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d16
h16:
    FRAME8 -1
d16:
    TRY -1, h17
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE OutputStream.writeBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d17
h17:
    FRAME8 -1
d17:
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE OutputStream.isOpen
    ITOS
    NATIVE Debug.log
; Closed: the holder stays and its stream answers "not open".
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.isOpen
    ITOS
    NATIVE Debug.log
    TRY -1, h18
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d18
h18:
    FRAME8 -1
d18:
    TRY -1, h19
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 0
    NATIVE InputStream.readBytes
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d19
h19:
    FRAME8 -1
d19:
    TRY -1, h20
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 0
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d20
h20:
    FRAME8 -1
d20:
    TRY -1, h21
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.position
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d21
h21:
    FRAME8 -1
d21:
    TRY -1, h22
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader.size
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d22
h22:
    FRAME8 -1
d22:
    TRY -1, h23
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE FileReader.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d23
h23:
    FRAME8 -1
d23:
    TRY -1, h24
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 0
    NATIVE FileWriter.seek
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d24
h24:
    FRAME8 -1
d24:
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream.close
    TRY -1, h25
    PUSH32 0
    NATIVE InputStream.close
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d25
h25:
    FRAME8 -1
d25:
; Unknown operations.
    TRY -1, h26
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader, 5
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d26
h26:
    FRAME8 -1
d26:
    TRY -1, h27
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE InputStream, 4
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d27
h27:
    FRAME8 -1
d27:
    TRY -1, h28
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE FileReader, 0
    ENDTRY -1
    PUSHSTR "unexpected success"
    NATIVE Debug.log
    JMP16 d28
h28:
    FRAME8 -1
d28:
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
