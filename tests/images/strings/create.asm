; String group: operations that make new strings and arrays of strings, number text both
; ways, and character classes. An array value is {vector, element size}; the vector's words
; are {element size, element storage, capacity, size}.
.class Exception refs=2            ; word 1: code, word 2: message
.function @main main
.function @internalthrow internalthrow
.function "logpieces" logpieces

main:
    ; split (50) of a,,b at a comma: two pieces, no empty one
    PUSHSTR "a,,b"
    PUSHSTR ","
    NATIVE String.split
    CALL logpieces, none
    ; no separator in the text: no pieces at all
    PUSHSTR "abc"
    PUSH32 44                                  ; ,
    NATIVE String.split_c
    CALL logpieces, none
    ; a separator ignoring case (51 with flag 0), and a character exactly (53)
    PUSHSTR "oneANDtwoandthree"
    PUSHSTR "and"
    PUSH0
    NATIVE String.split_F
    CALL logpieces, none
    PUSHSTR "1x2X3"
    PUSH32 88                                  ; X
    PUSHTRUE
    NATIVE String.split_cF
    CALL logpieces, none
    ; concat (48), repeated (49), substring (-106, -103); the sources stay as they were
    PUSHSTR "left"
    DUP
    PUSHSTR "+right"
    NATIVE String.concat
    NATIVE Debug.log
    NATIVE Debug.log
    PUSHSTR "ab"
    PUSH32 3
    NATIVE String.repeated
    NATIVE Debug.log
    PUSHSTR "substring"
    PUSH32 3
    PUSH32 3
    NATIVE String.substring
    NATIVE Debug.log
    PUSHSTR "substring"
    PUSH32 6
    PUSH32 -1
    NATIVE String.substring2
    NATIVE Debug.log
    ; numbers to text
    PUSH32 -2147483648
    NATIVE String.fromInt
    NATIVE Debug.log
    PUSH32 255
    PUSH32 16
    NATIVE String.fromIntRadix
    NATIVE Debug.log
    PUSH32 -35
    PUSH32 36
    NATIVE String.fromIntRadix
    NATIVE Debug.log
    PUSH32 255
    PUSH32 1
    NATIVE String.fromIntRadix                 ; radix 1: the empty string
    NATIVE String.length
    ITOS
    NATIVE Debug.log
    ; text to numbers: whitespace and sign, modulo 2^32, radix parse
    PUSHSTR "  -42"
    NATIVE String.toInt
    ITOS
    NATIVE Debug.log
    PUSHSTR "4294967297"
    NATIVE String.toInt
    ITOS
    NATIVE Debug.log
    PUSHSTR " +17 apples"
    PUSH32 10
    NATIVE String.toIntRadix
    ITOS
    NATIVE Debug.log
    PUSHSTR " FFz"
    PUSH32 16
    NATIVE String.toIntRadix
    ITOS
    NATIVE Debug.log
    ; characters: case mapping and classes
    PUSH32 0xc9                                ; capital E with acute
    NATIVE String.toLowerChar
    ITOS
    NATIVE Debug.log
    PUSH32 113                                 ; q
    NATIVE String.toUpperChar
    ITOS
    NATIVE Debug.log
    PUSH32 0xe9
    NATIVE String.isLetter
    PUSH32 55                                  ; 7
    NATIVE String.isDigit
    PUSH32 0x2003                              ; em space
    NATIVE String.isWhitespace
    PUSH32 95                                  ; _
    NATIVE String.isWhitespace
    ADD
    ADD
    ADD
    ITOS
    NATIVE Debug.log
    ; errors: parse without digits, radix 1, a negative repeat count, an empty separator
    TRY Exception, e1
    PUSHSTR "x"
    NATIVE String.toInt
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n1:
    TRY Exception, e2
    PUSHSTR "12"
    PUSH32 1
    NATIVE String.toIntRadix
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n2:
    TRY Exception, e3
    PUSHSTR "ab"
    PUSH32 -1
    NATIVE String.repeated
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n3:
    TRY Exception, e4
    PUSHSTR "ab"
    PUSHSTR ""
    NATIVE String.split
    ENDTRY -1
    JMP16 n4
e4:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n4:
    NATIVE System.exit

; logpieces(array): logs the number of strings, then each one. [array, return]
logpieces:
    LDLOC8 -2
    LOAD                                       ; vector
    FLDADDR8 3
    LOAD                                       ; size
    DUP
    ITOS
    NATIVE Debug.log                           ; [array, return, size]
    PUSH0                                      ; [array, return, size, k]
next:
    LDLOC8 -1
    LDLOC8 -3
    LT
    JZ16 done
    LDLOC8 -4
    LOAD
    FLDADDR8 1
    LOAD                                       ; element storage
    LDLOC8 -2
    PUSH32 4
    MUL
    ADD
    LOAD                                       ; the string value of piece k
    NATIVE Debug.log
    LOCADDR8 -1
    INC
    JMP16 next
done:
    FRAME8 -2
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
