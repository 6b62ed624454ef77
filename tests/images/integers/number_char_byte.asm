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
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Oops
    THROW

main:
    PUSH32 77                 ; sentinel
    TRY Oops, e1              ; Byte has no operation 0
    NATIVE Byte, 0
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e1:
    FRAME8 -1
    TRY Oops, e2
    NATIVE Number, 4
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e2:
    FRAME8 -1
    TRY Oops, e3
    NATIVE Char, 10
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
e3:
    FRAME8 -1

    PUSH32 -5
    NATIVE Number, 1          ; absByte
    ITOS
    NATIVE Debug, 1           ; 5
    PUSH32 -128
    NATIVE Number, 1
    ITOS
    NATIVE Debug, 1           ; 128
    PUSH32 300                ; a positive low byte leaves the word alone
    NATIVE Number, 1
    ITOS
    NATIVE Debug, 1           ; 300
    PUSH32 -2147483648
    NATIVE Number, 2          ; absInt saturates
    ITOS
    NATIVE Debug, 1           ; 2147483647
    PUSH32 0
    NATIVE Number, 2
    ITOS
    NATIVE Debug, 1           ; 0
    PUSH32 -1
    PUSH32 16
    NATIVE Number, 3          ; toStringRadix
    NATIVE Debug, 1           ; ffffffff
    PUSH32 255
    PUSH32 2
    NATIVE Number, 3
    NATIVE Debug, 1           ; 11111111
    PUSH32 0
    PUSH32 10
    NATIVE Number, 3
    NATIVE Debug, 1           ; 0
    PUSH32 -1
    PUSH32 36
    NATIVE Number, 3
    NATIVE Debug, 1           ; 1z141z3
    PUSHSTR "["
    NATIVE Debug, 1
    PUSH32 10
    PUSH32 1
    NATIVE Number, 3
    NATIVE Debug, 1           ; (empty)
    PUSH32 10
    PUSH32 37
    NATIVE Number, 3
    NATIVE Debug, 1           ; (empty)
    PUSHSTR "]"
    NATIVE Debug, 1

    PUSH32 1234               ; toLowerCaseAt: the slot below the character is the result's
    PUSH32 81                 ; Q
    NATIVE Char, 1
    NATIVE Char, 8
    NATIVE Debug, 1           ; q
    PUSH32 1234
    PUSH32 0x100e9            ; only the low 16 bits: e acute
    NATIVE Char, 2
    NATIVE Char, 8
    NATIVE Debug, 1           ; E acute
    PUSH32 0x416              ; Cyrillic Zhe
    NATIVE Char, 3
    ITOS
    NATIVE Debug, 1           ; 1078
    PUSH32 0x3c9              ; Greek omega
    NATIVE Char, 4
    ITOS
    NATIVE Debug, 1           ; 937
    PUSH32 0xe9
    NATIVE Char, 5            ; isLetter
    ITOS
    NATIVE Debug, 1           ; 1
    PUSH32 95                 ; _
    NATIVE Char, 5
    ITOS
    NATIVE Debug, 1           ; 0
    PUSH32 0x663              ; Arabic-Indic three
    NATIVE Char, 6            ; isDigit
    ITOS
    NATIVE Debug, 1           ; 1
    PUSH32 0xbd               ; one half
    NATIVE Char, 6
    ITOS
    NATIVE Debug, 1           ; 0
    PUSH32 9                  ; tab
    NATIVE Char, 7            ; isWhitespace
    ITOS
    NATIVE Debug, 1           ; 1
    PUSH32 65
    NATIVE Char, 7
    ITOS
    NATIVE Debug, 1           ; 0
    PUSH32 -1
    NATIVE Char, 9            ; toChar
    ITOS
    NATIVE Debug, 1           ; 65535
    PUSH32 0x12345
    NATIVE Char, 9
    ITOS
    NATIVE Debug, 1           ; 9029
    ITOS
    NATIVE Debug, 1           ; 77: the sentinel
    RET 0, 0
