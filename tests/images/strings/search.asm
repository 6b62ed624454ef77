; String group: queries, searches with and without case, ranges (start, count), comparisons,
; and the errors a bad index, a bad range or an unknown operation number raise.
.class Exception refs=2            ; word 1: code, word 2: message
.function @main main
.function @internalthrow internalthrow

main:
    ; indexOf (18) of B in abc: 1 ignoring case, -1 exactly; (17) with a range ignores case
    PUSHSTR "abc"
    PUSHSTR "B"
    PUSH0
    NATIVE String.indexOf_F
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSHSTR "B"
    PUSHTRUE
    NATIVE String.indexOf_F
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSHSTR "B"
    PUSH0
    PUSH32 3
    NATIVE String.indexOf_R
    ITOS
    NATIVE Debug.log
    ; the range (0, 0) selects nothing: -1
    PUSHSTR "abc"
    PUSHSTR "a"
    PUSH0
    PUSH0
    NATIVE String.indexOf_R
    ITOS
    NATIVE Debug.log
    ; count -1 from length - 1 covers the last character only: c at 2, a not found
    PUSHSTR "abc"
    PUSH32 99           ; c
    PUSH32 2
    PUSH32 -1
    NATIVE String.indexOf_cR
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSH32 97           ; a
    PUSH32 2
    PUSH32 -1
    NATIVE String.indexOf_cR
    ITOS
    NATIVE Debug.log
    ; lastIndexOf (24, 28), countOf (36, 40 ignoring case; 42 exactly)
    PUSHSTR "abcABCabc"
    PUSHSTR "ABC"
    NATIVE String.lastIndexOf
    ITOS
    NATIVE Debug.log
    PUSHSTR "abcABCabc"
    PUSH32 66           ; B
    NATIVE String.lastIndexOf_c
    ITOS
    NATIVE Debug.log
    PUSHSTR "aaaaa"
    PUSHSTR "aa"
    NATIVE String.countOf
    ITOS
    NATIVE Debug.log
    PUSHSTR "Banana"
    PUSH32 98           ; b
    NATIVE String.countOf_c
    ITOS
    NATIVE Debug.log
    PUSHSTR "Banana"
    PUSH32 98
    PUSHTRUE
    NATIVE String.countOf_cF
    ITOS
    NATIVE Debug.log
    ; find (16): (index, length) over both words; (0, 0) when absent; the word below stays
    PUSH32 77
    PUSHSTR "Hello World"
    PUSHSTR "WORLD"
    NATIVE String.find
    ADD                 ; 6 + 5
    ITOS
    NATIVE Debug.log
    PUSHSTR "Hello World"
    PUSHSTR "xyz"
    NATIVE String.find
    ITOS
    NATIVE Debug.log
    ITOS
    NATIVE Debug.log
    ITOS                ; the 77 pushed before the first find
    NATIVE Debug.log
    ; length, isEmpty, charAt, firstChar, lastChar, mostFrequentChar
    PUSHSTR "hello"
    NATIVE String.length
    ITOS
    NATIVE Debug.log
    PUSHSTR ""
    NATIVE String.isEmpty
    ITOS
    NATIVE Debug.log
    PUSHSTR "hello"
    PUSH32 1
    NATIVE String.charAt
    ITOS
    NATIVE Debug.log
    PUSHSTR "hello"
    NATIVE String.firstChar
    ITOS
    NATIVE Debug.log
    PUSHSTR "hello"
    NATIVE String.lastChar
    ITOS
    NATIVE Debug.log
    PUSHSTR "aBbAB"
    NATIVE String.mostFrequentChar
    ITOS
    NATIVE Debug.log
    ; startsWith, endsWith
    PUSHSTR "Hello"
    PUSHSTR "HE"
    NATIVE String.startsWith
    ITOS
    NATIVE Debug.log
    PUSHSTR "Hello"
    PUSHSTR "LO"
    PUSHTRUE
    NATIVE String.endsWith_F
    ITOS
    NATIVE Debug.log
    ; equalsOp (exact) 0, equals (ignoring case) 1, compare exactly: 'a' - 'A'
    PUSHSTR "abc"
    PUSHSTR "ABC"
    NATIVE String.equalsOp
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSHSTR "ABC"
    NATIVE String.equals
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSHSTR "ABC"
    PUSHTRUE
    NATIVE String.compare
    ITOS
    NATIVE Debug.log
    PUSHSTR "abc"
    PUSHSTR "abd"
    NATIVE String.lessOp
    ITOS
    NATIVE Debug.log
    ; indexOfInRange (-101) and lastIndexOfInRange (-99) take the range before A
    PUSHSTR "abcabcabc"
    PUSH32 1
    PUSH32 -1
    PUSHSTR "ABC"
    NATIVE String.indexOfInRange
    ITOS
    NATIVE Debug.log
    PUSHSTR "abcabcabc"
    PUSH0
    PUSH32 8
    PUSHSTR "ABC"
    NATIVE String.lastIndexOfInRange
    ITOS
    NATIVE Debug.log

    ; errors: a range (2, 0), a negative start, charAt outside, an unknown operation
    TRY Exception, e1
    PUSHSTR "abc"
    PUSHSTR "a"
    PUSH32 2
    PUSH0
    NATIVE String.indexOf_R
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n1:
    TRY Exception, e2
    PUSHSTR "abc"
    PUSH32 -1
    PUSH32 2
    NATIVE String.substring
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n2:
    TRY Exception, e3
    PUSHSTR "abc"
    PUSH32 3
    NATIVE String.charAt
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n3:
    TRY Exception, e4
    PUSHSTR "abc"
    NATIVE String, 3
    ENDTRY -1
    JMP16 n4
e4:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n4:
    TRY Exception, e5
    PUSH0
    NATIVE String.length
    ENDTRY -1
    JMP16 n5
e5:
    FLDADDR8 2
    LOAD
    NATIVE Debug.log
n5:
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
