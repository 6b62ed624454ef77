; Encoder group: UTF-8 from strings (one to three bytes per UTF-16 unit, a surrogate pair as
; two three-byte sequences) and back (well-formed input only; four-byte sequences become
; surrogate pairs). Byte arrays are built by hand: array value {vector, 1}, vector
; {element size, storage, capacity, size}.
.include "../common.inc"
.class Exception refs=2            ; word 1: code, word 2: message
.function @main main
.function @internalthrow internalthrow
.function "loghex" loghex

main:
    ; e acute and the euro sign: c3 a9 e2 82 ac
    PUSHSTR "\u{e9}\u{20ac}"
    NATIVE Encoder.encodeUtf8
    CALL loghex, none
    ; a surrogate pair: ed a0 bd ed b8 80
    PUSHSTR "\u{1f600}"
    DUP
    NATIVE String.length
    logint
    NATIVE Encoder.encodeUtf8
    DUP
    CALL loghex, none                          ; [bytes]
    ; decoding those bytes fails: they encode surrogates
    TRY Exception, e1
    NATIVE Encoder.decodeUtf8
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n1:
    ; 3c f0 9f 98 80 3e decodes to < U+D83D U+DE00 >
    PUSH32 1
    PUSH32 0x989ff03c
    PUSH32 0x3e80
    MKBLOCK8 2
    PUSH32 8
    PUSH32 6
    MKBLOCK8 4
    PUSH32 1
    MKBLOCK8 2
    NATIVE Encoder.decodeUtf8
    DUP
    NATIVE Debug.log
    DUP
    NATIVE String.length
    logint
    DUP
    PUSH32 1
    NATIVE String.charAt
    PUSH32 16
    NATIVE String.fromIntRadix
    NATIVE Debug.log
    PUSH32 2
    NATIVE String.charAt
    PUSH32 16
    NATIVE String.fromIntRadix
    NATIVE Debug.log
    ; an empty array decodes to the empty string
    PUSH32 1
    PUSH0
    PUSH0
    PUSH0
    MKBLOCK8 4
    PUSH32 1
    MKBLOCK8 2
    NATIVE Encoder.decodeUtf8
    NATIVE String.isEmpty
    logint
    ; c0 80 (an overlong zero) is rejected
    TRY Exception, e2
    PUSH32 1
    PUSH32 0x80c0
    MKBLOCK8 1
    PUSH32 4
    PUSH32 2
    MKBLOCK8 4
    PUSH32 1
    MKBLOCK8 2
    NATIVE Encoder.decodeUtf8
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n2:
    TRY Exception, e3
    PUSH0
    NATIVE Encoder.encodeUtf8
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n3:
    NATIVE System.exit

; loghex(bytes): logs the bytes of a byte array in hex, built with the String group.
; [array, return, text, size, k]
loghex:
    PUSHSTR ""
    LDLOC8 -3
    LOAD
    FLDADDR8 3
    LOAD
    PUSH0
next:
    LDLOC8 -1
    LDLOC8 -3
    LT
    JZ16 done
    LDLOC8 -3                                  ; text
    LDLOC8 -6                                  ; the array
    LOAD
    FLDADDR8 1
    LOAD                                       ; element storage
    LDLOC8 -3                                  ; k
    PUSH32 -4
    AND
    ADD
    LOAD                                       ; the word holding byte k
    LDLOC8 -3
    PUSH32 3
    AND
    PUSH32 8
    MUL
    SHR
    PUSH32 255
    AND
    PUSH32 16
    NATIVE String.fromIntRadix
    NATIVE String.append                       ; text += hex
    LDLOC8 -3
    PUSH32 32
    NATIVE String.append_c                     ; text += ' '
    LOCADDR8 -1
    INC
    JMP16 next
done:
    FRAME8 -2
    DUP
    NATIVE String.trimEnd
    NATIVE Debug.log
    RET 0, 2

; vminternalthrow(code, message): [code, message, return]
internalthrow:
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Exception
    DUP
    FLDADDR8 1
    LDLOC8 -5
    STORE
    DUP
    FLDADDR8 2
    LDLOC8 -4
    STORE
    THROW
    RET 0, 2
