; The Number group (absolute values, radix text), the Char group (case mapping, classes,
; conversions) and the Byte group, which has no operations. Characters are logged through
; Char toString (8); a sentinel pushed first and logged last checks every stack effect.
.class Oops
.function @init init
.function @main main
.function @internalthrow onerror

init:
    RET 0, 0

onerror:                      ; (code, message): log the message, throw an Oops
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    PUSH32 77                 ; sentinel
    TRY Oops, e1              ; Byte has no operation 0
unknown1:
    NATIVE Byte, 0
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
e1:
    FRAME8 -1
    TRY Oops, e2
unknown2:
    NATIVE Number, 4
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
e2:
    FRAME8 -1
    TRY Oops, e3
unknown3:
    NATIVE Char, 10
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
e3:
    FRAME8 -1

    PUSH32 -5
    NATIVE Number.absByte     ; absByte
    ITOS
    NATIVE Debug.log          ; 5
    PUSH32 -128
    NATIVE Number.absByte
    ITOS
    NATIVE Debug.log          ; 128
    PUSH32 300                ; a positive low byte leaves the word alone
    NATIVE Number.absByte
    ITOS
    NATIVE Debug.log          ; 300
    PUSH32 -2147483648
    NATIVE Number.absInt      ; absInt saturates
    ITOS
    NATIVE Debug.log          ; 2147483647
    PUSH32 0
    NATIVE Number.absInt
    ITOS
    NATIVE Debug.log          ; 0
    PUSH32 -1
    PUSH32 16
    NATIVE Number.toStringRadix ; toStringRadix
    NATIVE Debug.log          ; ffffffff
    PUSH32 255
    PUSH32 2
    NATIVE Number.toStringRadix
    NATIVE Debug.log          ; 11111111
    PUSH32 0
    PUSH32 10
    NATIVE Number.toStringRadix
    NATIVE Debug.log          ; 0
    PUSH32 -1
    PUSH32 36
    NATIVE Number.toStringRadix
    NATIVE Debug.log          ; 1z141z3
    PUSHSTR "["
    NATIVE Debug.log
    PUSH32 10
    PUSH32 1
    NATIVE Number.toStringRadix
    NATIVE Debug.log          ; (empty)
    PUSH32 10
    PUSH32 37
    NATIVE Number.toStringRadix
    NATIVE Debug.log          ; (empty)
    PUSHSTR "]"
    NATIVE Debug.log

    PUSH32 1234               ; toLowerCaseAt: the slot below the character is the result's
    PUSH32 81                 ; Q
    NATIVE Char.toLowerCaseAt
    NATIVE Char.toString
    NATIVE Debug.log          ; q
    PUSH32 1234
    PUSH32 0x100e9            ; only the low 16 bits: e acute
    NATIVE Char.toUpperCaseAt
    NATIVE Char.toString
    NATIVE Debug.log          ; E acute
    PUSH32 0x416              ; Cyrillic Zhe
    NATIVE Char.toLowerCase
    ITOS
    NATIVE Debug.log          ; 1078
    PUSH32 0x3c9              ; Greek omega
    NATIVE Char.toUpperCase
    ITOS
    NATIVE Debug.log          ; 937
    PUSH32 0xe9
    NATIVE Char.isLetter      ; isLetter
    ITOS
    NATIVE Debug.log          ; 1
    PUSH32 95                 ; _
    NATIVE Char.isLetter
    ITOS
    NATIVE Debug.log          ; 0
    PUSH32 0x663              ; Arabic-Indic three
    NATIVE Char.isDigit       ; isDigit
    ITOS
    NATIVE Debug.log          ; 1
    PUSH32 0xbd               ; one half
    NATIVE Char.isDigit
    ITOS
    NATIVE Debug.log          ; 0
    PUSH32 9                  ; tab
    NATIVE Char.isWhitespace  ; isWhitespace
    ITOS
    NATIVE Debug.log          ; 1
    PUSH32 65
    NATIVE Char.isWhitespace
    ITOS
    NATIVE Debug.log          ; 0
    PUSH32 -1
    NATIVE Char.toChar        ; toChar
    ITOS
    NATIVE Debug.log          ; 65535
    PUSH32 0x12345
    NATIVE Char.toChar
    ITOS
    NATIVE Debug.log          ; 9029
    ITOS
    NATIVE Debug.log          ; 77: the sentinel
    RET 0, 0
