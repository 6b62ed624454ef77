; Element access on every element width: elementRef (6), elementAddress (7), elementValue (8),
; firstElement (9), lastElement (10), length (11) and isEmpty (12), on int, two-word, reference
; and byte arrays, and their index errors. A sentinel pushed first and logged last proves that
; every operation left the stack as it should.
.globals 8                    ; A ints at 0, B pairs at 2, R references at 4, Y bytes at 6
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
    PUSHGLOBALS
    NEWARRAY 4
    PUSHGLOBALS
    PUSH32 10
    NATIVE IntArray.append    ; append
    PUSHGLOBALS
    PUSH32 20
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 30
    NATIVE IntArray.append
    PUSHGLOBALS               ; A[1] = 21 through the address elementRef gives
    PUSH32 1
    NATIVE IntArray.elementRef
    PUSH32 21
    STORE
    PUSHGLOBALS               ; elementValue: A stays below the element
    PUSH32 1
    NATIVE IntArray.elementValue
    ITOS
    NATIVE Debug.log          ; 21
    NATIVE IntArray.length    ; length of the A left on the stack
    ITOS
    NATIVE Debug.log          ; 3
    PUSHGLOBALS
    NATIVE IntArray.firstElement
    ITOS
    NATIVE Debug.log          ; 10
    PUSHGLOBALS
    NATIVE IntArray.lastElement
    ITOS
    NATIVE Debug.log          ; 30
    PUSHGLOBALS
    NATIVE IntArray.isEmpty
    ITOS
    NATIVE Debug.log          ; 0: not empty

    PUSHGLOBALS               ; B: two-word elements (1,2) (3,4) (5,6)
    FLDADDR8 2
    NEWARRAY 8
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 1
    PUSH32 2
    NATIVE Int2Array.append
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 3
    PUSH32 4
    NATIVE Int2Array.append
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 5
    PUSH32 6
    NATIVE Int2Array.append
    PUSHGLOBALS               ; elementValue(B, 1): B, then 3 and 4 above it
    FLDADDR8 2
    PUSH32 1
    NATIVE Int2Array.elementValue
    ITOS
    NATIVE Debug.log          ; 4
    ITOS
    NATIVE Debug.log          ; 3
    NATIVE Int2Array.length
    ITOS
    NATIVE Debug.log          ; 3
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Int2Array.lastElement ; lastElement: both words replace B
    ITOS
    NATIVE Debug.log          ; 6
    ITOS
    NATIVE Debug.log          ; 5

    PUSHGLOBALS               ; R: references to strings
    FLDADDR8 4
    NEWARRAY 4
    PUSHGLOBALS
    FLDADDR8 4
    PUSHSTR "first"
    NATIVE RefArray.append
    PUSHGLOBALS
    FLDADDR8 4
    PUSHSTR "second"
    NATIVE RefArray.append
    PUSHGLOBALS               ; elementValue: only the reference stays
    FLDADDR8 4
    PUSH32 1
    NATIVE RefArray.elementValue
    NATIVE Debug.log          ; second
    PUSHGLOBALS               ; elementRef: the reference too
    FLDADDR8 4
    PUSH32 0
    NATIVE RefArray.elementRef
    NATIVE Debug.log          ; first
    PUSHGLOBALS               ; elementAddress: store a new string through it
    FLDADDR8 4
    PUSH32 1
    NATIVE RefArray.elementAddress
    PUSHSTR "replaced"
    STORE
    PUSHGLOBALS
    FLDADDR8 4
    NATIVE RefArray.lastElement
    NATIVE Debug.log          ; replaced

    PUSHGLOBALS               ; Y: bytes keep their low 8 bits and read back as 0..255
    FLDADDR8 6
    NEWARRAY 1
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 -1
    NATIVE ByteArray.append
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 0x17f
    NATIVE ByteArray.append
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 -128
    NATIVE ByteArray.prepend  ; prepend
    PUSHGLOBALS
    FLDADDR8 6
    PUSH32 1
    NATIVE ByteArray.elementValue
    ITOS
    NATIVE Debug.log          ; 255
    FRAME8 -1                 ; the array reference below it
    PUSHGLOBALS
    FLDADDR8 6
    NATIVE ByteArray.firstElement
    ITOS
    NATIVE Debug.log          ; 128
    PUSHGLOBALS
    FLDADDR8 6
    NATIVE ByteArray.lastElement
    ITOS
    NATIVE Debug.log          ; 127

    TRY Oops, c1              ; index = length
    PUSHGLOBALS
    PUSH32 3
    NATIVE IntArray.elementValue
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c1:
    FRAME8 -1
    TRY Oops, c2              ; negative index
    PUSHGLOBALS
    PUSH32 -1
    NATIVE IntArray.elementRef
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c2:
    FRAME8 -1
    TRY Oops, c3              ; elementAddress is for reference arrays only
    PUSHGLOBALS
    PUSH32 0
    NATIVE IntArray.elementAddress
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c3:
    FRAME8 -1
    TRY Oops, c4              ; first element of an empty array
    PUSHGLOBALS
    NATIVE IntArray.clear     ; clear
    PUSHGLOBALS
    NATIVE IntArray.firstElement
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c4:
    FRAME8 -1
    PUSHGLOBALS
    NATIVE IntArray.isEmpty
    ITOS
    NATIVE Debug.log          ; 1: empty now
    ITOS
    NATIVE Debug.log          ; 77: the sentinel
    RET 0, 0
