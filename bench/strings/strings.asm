; String benchmark: builds a text of 2,000,000 letters one character at a time (a..z over and
; over) and counts one letter in it; then concatenates the decimal text of 0..199,999.
; Logs the length, the count and the second length; bench/strings/strings.lua does the same.
.function @main main

main:
    PUSHSTR ""                                 ; [text]
    PUSH0                                      ; [text, i]
letters:
    LDLOC8 -1
    PUSH32 2000000
    LT
    JZ16 counted
    LDLOC8 -2                                  ; text
    LDLOC8 -2                                  ; i
    PUSH32 26
    MOD
    PUSH32 97
    ADD
    NATIVE String.append_c                     ; text += 'a' + i % 26
    LOCADDR8 -1
    INC
    JMP16 letters
counted:
    FRAME8 -1                                  ; [text]
    DUP
    NATIVE String.length
    ITOS
    NATIVE Debug.log
    PUSH32 101                                 ; e
    PUSHTRUE
    NATIVE String.countOf_cF                   ; count, exactly
    ITOS
    NATIVE Debug.log

    PUSHSTR ""                                 ; [numbers]
    PUSH0                                      ; [numbers, i]
numbers:
    LDLOC8 -1
    PUSH32 200000
    LT
    JZ16 joined
    LDLOC8 -2                                  ; numbers
    LDLOC8 -2                                  ; i
    NATIVE String.fromInt                      ; fromInt
    NATIVE String.append                       ; numbers += that
    LOCADDR8 -1
    INC
    JMP16 numbers
joined:
    FRAME8 -1
    NATIVE String.length
    ITOS
    NATIVE Debug.log
    RET 0, 0
