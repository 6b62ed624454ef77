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
    NATIVE String, 18
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSHSTR "B"
    PUSHTRUE
    NATIVE String, 18
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSHSTR "B"
    PUSH0
    PUSH32 3
    NATIVE String, 17
    ITOS
    NATIVE Debug, 1
    ; the range (0, 0) selects nothing: -1
    PUSHSTR "abc"
    PUSHSTR "a"
    PUSH0
    PUSH0
    NATIVE String, 17
    ITOS
    NATIVE Debug, 1
    ; count -1 from length - 1 covers the last character only: c at 2, a not found
    PUSHSTR "abc"
    PUSH32 99           ; c
    PUSH32 2
    PUSH32 -1
    NATIVE String, 21
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSH32 97           ; a
    PUSH32 2
    PUSH32 -1
    NATIVE String, 21
    ITOS
    NATIVE Debug, 1
    ; lastIndexOf (24, 28), countOf (36, 40 ignoring case; 42 exactly)
    PUSHSTR "abcABCabc"
    PUSHSTR "ABC"
    NATIVE String, 24
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abcABCabc"
    PUSH32 66           ; B
    NATIVE String, 28
    ITOS
    NATIVE Debug, 1
    PUSHSTR "aaaaa"
    PUSHSTR "aa"
    NATIVE String, 36
    ITOS
    NATIVE Debug, 1
    PUSHSTR "Banana"
    PUSH32 98           ; b
    NATIVE String, 40
    ITOS
    NATIVE Debug, 1
    PUSHSTR "Banana"
    PUSH32 98
    PUSHTRUE
    NATIVE String, 42
    ITOS
    NATIVE Debug, 1
    ; find (16): (index, length) over both words; (0, 0) when absent; the word below stays
    PUSH32 77
    PUSHSTR "Hello World"
    PUSHSTR "WORLD"
    NATIVE String, 16
    ADD                 ; 6 + 5
    ITOS
    NATIVE Debug, 1
    PUSHSTR "Hello World"
    PUSHSTR "xyz"
    NATIVE String, 16
    ITOS
    NATIVE Debug, 1
    ITOS
    NATIVE Debug, 1
    ITOS                ; the 77 pushed before the first find
    NATIVE Debug, 1
    ; length, isEmpty, charAt, firstChar, lastChar, mostFrequentChar
    PUSHSTR "hello"
    NATIVE String, 10
    ITOS
    NATIVE Debug, 1
    PUSHSTR ""
    NATIVE String, 11
    ITOS
    NATIVE Debug, 1
    PUSHSTR "hello"
    PUSH32 1
    NATIVE String, 12
    ITOS
    NATIVE Debug, 1
    PUSHSTR "hello"
    NATIVE String, 14
    ITOS
    NATIVE Debug, 1
    PUSHSTR "hello"
    NATIVE String, 15
    ITOS
    NATIVE Debug, 1
    PUSHSTR "aBbAB"
    NATIVE String, 32
    ITOS
    NATIVE Debug, 1
    ; startsWith, endsWith
    PUSHSTR "Hello"
    PUSHSTR "HE"
    NATIVE String, 44
    ITOS
    NATIVE Debug, 1
    PUSHSTR "Hello"
    PUSHSTR "LO"
    PUSHTRUE
    NATIVE String, 47
    ITOS
    NATIVE Debug, 1
    ; equalsOp (exact) 0, equals (ignoring case) 1, compare exactly: 'a' - 'A'
    PUSHSTR "abc"
    PUSHSTR "ABC"
    NATIVE String, -116
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSHSTR "ABC"
    NATIVE String, -110
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSHSTR "ABC"
    PUSHTRUE
    NATIVE String, -118
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abc"
    PUSHSTR "abd"
    NATIVE String, -114
    ITOS
    NATIVE Debug, 1
    ; indexOfInRange (-101) and lastIndexOfInRange (-99) take the range before A
    PUSHSTR "abcabcabc"
    PUSH32 1
    PUSH32 -1
    PUSHSTR "ABC"
    NATIVE String, -101
    ITOS
    NATIVE Debug, 1
    PUSHSTR "abcabcabc"
    PUSH0
    PUSH32 8
    PUSHSTR "ABC"
    NATIVE String, -99
    ITOS
    NATIVE Debug, 1

    ; errors: a range (2, 0), a negative start, charAt outside, an unknown operation
    TRY Exception, e1
    PUSHSTR "abc"
    PUSHSTR "a"
    PUSH32 2
    PUSH0
    NATIVE String, 17
    ENDTRY -1
    JMP16 n1
e1:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n1:
    TRY Exception, e2
    PUSHSTR "abc"
    PUSH32 -1
    PUSH32 2
    NATIVE String, -106
    ENDTRY -1
    JMP16 n2
e2:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n2:
    TRY Exception, e3
    PUSHSTR "abc"
    PUSH32 3
    NATIVE String, 12
    ENDTRY -1
    JMP16 n3
e3:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n3:
    TRY Exception, e4
    PUSHSTR "abc"
    NATIVE String, 3
    ENDTRY -1
    JMP16 n4
e4:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n4:
    TRY Exception, e5
    PUSH0
    NATIVE String, 10
    ENDTRY -1
    JMP16 n5
e5:
    FLDADDR8 2
    LOAD
    NATIVE Debug, 1
n5:
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
