; String group: initialisers fill a box with a new string, edits change the string in place
; (a copy shares the text until one side changes), and a failing edit changes nothing.
.class Exception refs=2            ; word 1: code, word 2: message
.function @main main
.function @internalthrow internalthrow

main:
    ; a box without a string; initEmpty, then append
    NEW REFERENCE, 1
    DUP
    NATIVE String.initEmpty
    DUP
    PUSHSTR "filled"
    NATIVE String.append
    DUP
    NATIVE Debug.log                           ; [box]
    ; initCopy into a second box, append to the copy: the first keeps its text
    NEW REFERENCE, 1                           ; [box, copy]
    DUP
    LDLOC8 -3
    NATIVE String.initCopy
    DUP
    PUSH32 33                                  ; !
    NATIVE String.append_c
    NATIVE Debug.log
    DUP
    NATIVE Debug.log                           ; [box]
    ; initRepeatedChar (5), initSubstring (7), initSteppedRange (9) into the same box
    DUP
    PUSH32 120                                 ; x
    PUSH32 3
    NATIVE String.initRepeatedChar
    DUP
    NATIVE Debug.log
    DUP
    PUSHSTR "substring"
    PUSH32 3
    PUSH32 3
    NATIVE String.initSubstring
    DUP
    NATIVE Debug.log
    DUP
    PUSHSTR "a1b2c3d4"
    PUSH0
    PUSH32 -1
    PUSH32 2
    NATIVE String.initSteppedRange
    NATIVE Debug.log                           ; []

    ; insert (57, 59), prepend (61), append (62), replaceRange (67), removeCharAt (93)
    PUSHSTR "held"
    DUP
    PUSH32 3
    PUSHSTR "LO WOR"
    NATIVE String.insert
    DUP
    PUSH32 0
    PUSH32 1
    PUSH32 2
    PUSHSTR "x<>x"
    NATIVE String.insert_R
    DUP
    PUSH32 91                                  ; [
    NATIVE String.prepend_c
    DUP
    PUSHSTR "]"
    NATIVE String.append
    DUP
    PUSH32 6
    PUSH32 3
    PUSHSTR "-"
    NATIVE String.replaceRange
    DUP
    PUSH0
    NATIVE String.removeCharAt
    NATIVE Debug.log
    ; removeRange (94) with count -1, removeFirst (95), removeLast (103), removeAll (111)
    PUSHSTR "one two three"
    DUP
    PUSH32 7
    PUSH32 -1
    NATIVE String.removeRange
    NATIVE Debug.log
    PUSHSTR "abcABCabc"
    DUP
    PUSHSTR "ABC"
    NATIVE String.removeFirst
    DUP
    PUSHSTR "abc"
    NATIVE String.removeLast
    NATIVE Debug.log
    PUSHSTR "a-b--c"
    DUP
    PUSH32 45                                  ; -
    NATIVE String.removeAll_c
    NATIVE Debug.log
    ; replaceFirst (69), replaceLast (79), replaceAll (85), replaceAllInRange (-97)
    PUSHSTR "x.y.z"
    DUP
    PUSHSTR "."
    PUSHSTR "::"
    NATIVE String.replaceFirst
    DUP
    PUSHSTR "."
    PUSH32 47                                  ; /
    NATIVE String.replaceLast_c
    NATIVE Debug.log
    PUSHSTR "Cat cat CAT"
    DUP
    PUSHSTR "cat"
    PUSHSTR "dog"
    NATIVE String.replaceAll
    NATIVE Debug.log
    PUSHSTR "Cat cat CAT"
    DUP
    PUSH32 1
    PUSH32 -1
    PUSHSTR "CAT"
    PUSHSTR "cow"
    PUSHTRUE
    NATIVE String.replaceAllInRange_F
    NATIVE Debug.log
    ; replaceOrInsertRange (-104): count 0 inserts; replaceRangeWithPart (-102)
    PUSHSTR "abef"
    DUP
    PUSH32 2
    PUSH0
    PUSHSTR "cd"
    NATIVE String.replaceOrInsertRange
    DUP
    PUSH0
    PUSH32 1
    PUSHSTR "0123456789"
    PUSH32 7
    PUSH32 -1
    NATIVE String.replaceRangeWithPart
    NATIVE Debug.log
    ; repeat (66), trim (126), trimStart (124), trimEnd (125), case (127, -128), clear (123)
    PUSHSTR "ab"
    DUP
    PUSH32 3
    NATIVE String.repeat
    NATIVE Debug.log
    PUSHSTR "  \t padded \n "
    DUP
    NATIVE String.trim
    NATIVE Debug.log
    PUSHSTR "  left"
    DUP
    NATIVE String.trimStart
    NATIVE Debug.log
    PUSHSTR "right  "
    DUP
    NATIVE String.trimEnd
    DUP
    PUSHSTR "|"
    NATIVE String.append
    NATIVE Debug.log
    PUSHSTR "\u{c9}t\u{e9} Mixed"
    DUP
    NATIVE String.toUpperCase
    DUP
    NATIVE Debug.log
    DUP
    NATIVE String.toLowerCase
    DUP
    NATIVE Debug.log
    DUP
    NATIVE String.clear
    NATIVE String.length
    ITOS
    NATIVE Debug.log
    ; removeFirstChar (119), removeLastChars (122)
    PUSHSTR "[body]"
    DUP
    NATIVE String.removeFirstChar
    DUP
    PUSH32 1
    NATIVE String.removeLastChars
    NATIVE Debug.log

    ; a failing edit leaves the string as it was
    PUSHSTR "keep"
    TRY Exception, e1
    DUP
    PUSH32 9
    PUSHSTR "x"
    NATIVE String.insert
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n1:
    DUP
    NATIVE Debug.log
    TRY Exception, e2
    DUP
    PUSH32 2
    PUSH0
    NATIVE String.removeRange
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n2:
    NATIVE Debug.log
    TRY Exception, e3
    PUSHSTR ""
    NATIVE String.removeFirstChar
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n3:
    NATIVE System.exit

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
