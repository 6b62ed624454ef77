; String group: initialisers fill a box with a new string, edits change the string in place
; (a copy shares the text until one side changes), and a failing edit changes nothing.
.class Exception refs=2            ; word 1: code, word 2: message
.function @main main
.function @internalthrow internalthrow

main:
    ; a box without a string; initEmpty, then append
    NEW REFERENCE, 1
    DUP
    NATIVE String, 1
    DUP
    PUSHSTR "filled"
    NATIVE String, 62
    DUP
    NATIVE Debug, 1                            ; [box]
    ; initCopy into a second box, append to the copy: the first keeps its text
    NEW REFERENCE, 1                           ; [box, copy]
    DUP
    LDLOC8 -3
    NATIVE String, 2
    DUP
    PUSH32 33                                  ; !
    NATIVE String, 63
    NATIVE Debug, 1
    DUP
    NATIVE Debug, 1                            ; [box]
    ; initRepeatedChar (5), initSubstring (7), initSteppedRange (9) into the same box
    DUP
    PUSH32 120                                 ; x
    PUSH32 3
    NATIVE String, 5
    DUP
    NATIVE Debug, 1
    DUP
    PUSHSTR "substring"
    PUSH32 3
    PUSH32 3
    NATIVE String, 7
    DUP
    NATIVE Debug, 1
    DUP
    PUSHSTR "a1b2c3d4"
    PUSH0
    PUSH32 -1
    PUSH32 2
    NATIVE String, 9
    NATIVE Debug, 1                            ; []

    ; insert (57, 59), prepend (61), append (62), replaceRange (67), removeCharAt (93)
    PUSHSTR "held"
    DUP
    PUSH32 3
    PUSHSTR "LO WOR"
    NATIVE String, 57
    DUP
    PUSH32 0
    PUSH32 1
    PUSH32 2
    PUSHSTR "x<>x"
    NATIVE String, 59
    DUP
    PUSH32 91                                  ; [
    NATIVE String, 61
    DUP
    PUSHSTR "]"
    NATIVE String, 62
    DUP
    PUSH32 6
    PUSH32 3
    PUSHSTR "-"
    NATIVE String, 67
    DUP
    PUSH0
    NATIVE String, 93
    NATIVE Debug, 1
    ; removeRange (94) with count -1, removeFirst (95), removeLast (103), removeAll (111)
    PUSHSTR "one two three"
    DUP
    PUSH32 7
    PUSH32 -1
    NATIVE String, 94
    NATIVE Debug, 1
    PUSHSTR "abcABCabc"
    DUP
    PUSHSTR "ABC"
    NATIVE String, 95
    DUP
    PUSHSTR "abc"
    NATIVE String, 103
    NATIVE Debug, 1
    PUSHSTR "a-b--c"
    DUP
    PUSH32 45                                  ; -
    NATIVE String, 115
    NATIVE Debug, 1
    ; replaceFirst (69), replaceLast (79), replaceAll (85), replaceAllInRange (-97)
    PUSHSTR "x.y.z"
    DUP
    PUSHSTR "."
    PUSHSTR "::"
    NATIVE String, 69
    DUP
    PUSHSTR "."
    PUSH32 47                                  ; /
    NATIVE String, 79
    NATIVE Debug, 1
    PUSHSTR "Cat cat CAT"
    DUP
    PUSHSTR "cat"
    PUSHSTR "dog"
    NATIVE String, 85
    NATIVE Debug, 1
    PUSHSTR "Cat cat CAT"
    DUP
    PUSH32 1
    PUSH32 -1
    PUSHSTR "CAT"
    PUSHSTR "cow"
    PUSHTRUE
    NATIVE String, -96
    NATIVE Debug, 1
    ; replaceOrInsertRange (-104): count 0 inserts; replaceRangeWithPart (-102)
    PUSHSTR "abef"
    DUP
    PUSH32 2
    PUSH0
    PUSHSTR "cd"
    NATIVE String, -104
    DUP
    PUSH0
    PUSH32 1
    PUSHSTR "0123456789"
    PUSH32 7
    PUSH32 -1
    NATIVE String, -102
    NATIVE Debug, 1
    ; repeat (66), trim (126), trimStart (124), trimEnd (125), case (127, -128), clear (123)
    PUSHSTR "ab"
    DUP
    PUSH32 3
    NATIVE String, 66
    NATIVE Debug, 1
    PUSHSTR "  \t padded \n "
    DUP
    NATIVE String, 126
    NATIVE Debug, 1
    PUSHSTR "  left"
    DUP
    NATIVE String, 124
    NATIVE Debug, 1
    PUSHSTR "right  "
    DUP
    NATIVE String, 125
    DUP
    PUSHSTR "|"
    NATIVE String, 62
    NATIVE Debug, 1
    PUSHSTR "\u{c9}t\u{e9} Mixed"
    DUP
    NATIVE String, -128
    DUP
    NATIVE Debug, 1
    DUP
    NATIVE String, 127
    DUP
    NATIVE Debug, 1
    DUP
    NATIVE String, 123
    NATIVE String, 10
    ITOS
    NATIVE Debug, 1
    ; removeFirstChar (119), removeLastChars (122)
    PUSHSTR "[body]"
    DUP
    NATIVE String, 119
    DUP
    PUSH32 1
    NATIVE String, 122
    NATIVE Debug, 1

    ; a failing edit leaves the string as it was
    PUSHSTR "keep"
    TRY Exception, e1
    DUP
    PUSH32 9
    PUSHSTR "x"
    NATIVE String, 57
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n1:
    DUP
    NATIVE Debug, 1
    TRY Exception, e2
    DUP
    PUSH32 2
    PUSH0
    NATIVE String, 94
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n2:
    NATIVE Debug, 1
    TRY Exception, e3
    PUSHSTR ""
    NATIVE String, 119
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n3:
    NATIVE System, 1

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
