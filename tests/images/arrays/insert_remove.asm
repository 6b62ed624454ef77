; Inserting, removing, repeating and replacing in one-word arrays: insert at the length and at
; length + 1, insertAll of an array into itself, insertPart, prepend/append and their All forms,
; removeAt, removeRange, removeFirst, removeLast, repeat 0 and -1, clear, replaceRange,
; replaceRangeWithElement, replaceOrInsertRange (81) and replaceRangeWithPart (83).
; `dump` logs an array of single digits as one decimal number (an empty array as 0).
.globals 4                    ; A at 0, W at 2
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

dump:                         ; (array address): [addr ret i acc]
    FRAME8 2
dumploop:
    LDLOC8 -2                 ; i
    LDLOC8 -5                 ; addr
    NATIVE IntArray.length
    LT
    JZ16 dumpdone
    LOCADDR8 -1               ; &acc
    LDLOC8 -2                 ; acc
    PUSH32 10
    MUL
    LDLOC8 -6                 ; addr
    LDLOC8 -5                 ; i
    NATIVE IntArray.elementRef
    LOAD
    ADD
    STORE                     ; acc = acc * 10 + A[i]
    LOCADDR8 -2
    INC                       ; i += 1
    JMP16 dumploop
dumpdone:
    LDLOC8 -1
    ITOS
    NATIVE Debug.log
    RET 2, 4

main:
    PUSH32 77                 ; sentinel
    PUSHGLOBALS
    NEWARRAY 4
    PUSHGLOBALS
    FLDADDR8 2
    NEWARRAY 4
    PUSHGLOBALS
    PUSH32 1
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 3
    NATIVE IntArray.append
    PUSHGLOBALS               ; insert at the length appends
    PUSH32 3
    PUSH32 4
    NATIVE IntArray.insert
    PUSHGLOBALS
    CALL dump, none           ; 1234
    TRY Oops, c1              ; insert at length + 1
    PUSHGLOBALS
    PUSH32 5
    PUSH32 9
    NATIVE IntArray.insert
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c1:
    FRAME8 -1
    PUSHGLOBALS
    PUSH32 0
    PUSH32 5
    NATIVE IntArray.insert    ; insert at 0
    PUSHGLOBALS
    PUSH32 6
    NATIVE IntArray.prepend   ; prepend
    PUSHGLOBALS
    CALL dump, none           ; 651234
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 7
    NATIVE IntArray.append
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 8
    NATIVE IntArray.append
    PUSHGLOBALS               ; insertAll(A, 2, W)
    PUSH32 2
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.insertAll
    PUSHGLOBALS
    CALL dump, none           ; 65781234
    PUSHGLOBALS               ; insertPart(A, 0, (1, -1), W)
    PUSH32 0
    PUSH32 1
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.insertPart
    PUSHGLOBALS
    CALL dump, none           ; 865781234
    PUSHGLOBALS               ; removeRange(A, (1, 4))
    PUSH32 1
    PUSH32 4
    NATIVE IntArray.removeRange
    PUSHGLOBALS
    CALL dump, none           ; 81234
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.appendAll ; appendAll
    PUSHGLOBALS
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.prependAll ; prependAll
    PUSHGLOBALS
    CALL dump, none           ; 788123478
    PUSHGLOBALS
    PUSH32 0
    NATIVE IntArray.removeAt  ; removeAt 0
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.removeFirst ; removeFirst 2
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.removeLast ; removeLast 2
    PUSHGLOBALS
    CALL dump, none           ; 1234
    TRY Oops, c2              ; removeAt the length
    PUSHGLOBALS
    PUSH32 4
    NATIVE IntArray.removeAt
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c2:
    FRAME8 -1
    TRY Oops, c3              ; removeRange of the empty range
    PUSHGLOBALS
    PUSH32 0
    PUSH32 0
    NATIVE IntArray.removeRange
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c3:
    FRAME8 -1
    TRY Oops, c4              ; removeFirst more than there are
    PUSHGLOBALS
    PUSH32 5
    NATIVE IntArray.removeFirst
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c4:
    FRAME8 -1
    TRY Oops, c5              ; removeLast -1
    PUSHGLOBALS
    PUSH32 -1
    NATIVE IntArray.removeLast
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c5:
    FRAME8 -1
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.repeat    ; repeat 2
    PUSHGLOBALS
    CALL dump, none           ; 12341234
    TRY Oops, c6              ; repeat -1
    PUSHGLOBALS
    PUSH32 -1
    NATIVE IntArray.repeat
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
c6:
    FRAME8 -1
    PUSHGLOBALS
    PUSH32 0
    NATIVE IntArray.repeat    ; repeat 0 empties
    PUSHGLOBALS
    NATIVE IntArray.length
    ITOS
    NATIVE Debug.log          ; 0
    PUSHGLOBALS
    PUSH32 1
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.append
    PUSHGLOBALS               ; insertAll(A, 1, A)
    PUSH32 1
    PUSHGLOBALS
    NATIVE IntArray.insertAll
    PUSHGLOBALS
    CALL dump, none           ; 1122
    PUSHGLOBALS
    NATIVE IntArray.clear     ; clear
    PUSHGLOBALS
    CALL dump, none           ; 0
    PUSHGLOBALS
    PUSH32 1
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 2
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 3
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 4
    NATIVE IntArray.append
    PUSHGLOBALS
    PUSH32 5
    NATIVE IntArray.append
    PUSHGLOBALS               ; replaceRange(A, (1, 2), W)
    PUSH32 1
    PUSH32 2
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.replaceRange
    PUSHGLOBALS
    CALL dump, none           ; 17845
    PUSHGLOBALS               ; replaceRangeWithElement(A, (0, 3), 9)
    PUSH32 0
    PUSH32 3
    PUSH32 9
    NATIVE IntArray.replaceRangeWithElement
    PUSHGLOBALS
    CALL dump, none           ; 945
    PUSHGLOBALS               ; replaceOrInsertRange(A, (1, 0), W): inserts, removes nothing
    PUSH32 1
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.replaceOrInsertRange
    PUSHGLOBALS
    CALL dump, none           ; 97845
    PUSHGLOBALS               ; replaceOrInsertRange(A, (3, -1), W): 3 to the end
    PUSH32 3
    PUSH32 -1
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.replaceOrInsertRange
    PUSHGLOBALS
    CALL dump, none           ; 97878
    PUSHGLOBALS               ; replaceRangeWithPart(A, (0, 1), W, (1, 1))
    PUSH32 0
    PUSH32 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 1
    PUSH32 1
    NATIVE IntArray.replaceRangeWithPart
    PUSHGLOBALS
    CALL dump, none           ; 87878
    PUSHGLOBALS               ; replaceRangeWithPart(A, (5, 0), W, (0, -1)): inserts at the end
    PUSH32 5
    PUSH32 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 0
    PUSH32 -1
    NATIVE IntArray.replaceRangeWithPart
    PUSHGLOBALS
    CALL dump, none           ; 8787878
    ITOS
    NATIVE Debug.log          ; 77: the sentinel
    RET 0, 0
