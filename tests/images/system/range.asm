; The Range group: every operation on a range reference (the address of {first, count}), and
; equals and notEquals on range values held on the stack; refused bounds change nothing.
.globals 4                      ; 0, 1: one range; 2, 3: another

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    ; clear
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 7
    STORE
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 9
    STORE
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.clear
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    ; setFirstLast: first = last is one element
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 3
    PUSH32 3
    NATIVE Range.setFirstLast
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 2
    PUSH32 5
    NATIVE Range.setFirstLast
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    ; setFirstCount, setFirst, setCount
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4
    PUSH0
    NATIVE Range.setFirstCount
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 6
    NATIVE Range.setFirst
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 11
    NATIVE Range.setCount
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    ; fromFirst and fromFirst2 reach to the end
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 5
    NATIVE Range.fromFirst
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.clear
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 8
    NATIVE Range.fromFirst2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    ; assign
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 1
    PUSH32 2
    NATIVE Range.setFirstCount
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE Range.assign
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    ; refused bounds leave the range alone
    TRY -1, caught1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 4
    PUSH32 3
    NATIVE Range.setFirstLast
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught1:
    FRAME8 -1
    TRY -1, caught2
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    PUSH32 3
    NATIVE Range.setFirstLast
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught2:
    FRAME8 -1
    TRY -1, caught3
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH32 -1
    NATIVE Range.setFirstLast
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught3:
    FRAME8 -1
    TRY -1, caught4
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH32 2147483647
    NATIVE Range.setFirstLast
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught4:
    FRAME8 -1
    TRY -1, caught5
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    PUSH0
    NATIVE Range.setFirstCount
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught5:
    FRAME8 -1
    TRY -1, caught6
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    PUSH32 -1
    NATIVE Range.setFirstCount
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught6:
    FRAME8 -1
    TRY -1, caught7
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Range.setFirst
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught7:
    FRAME8 -1
    TRY -1, caught8
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Range.setCount
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught8:
    FRAME8 -1
    TRY -1, caught9
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Range.fromFirst
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught9:
    FRAME8 -1
    TRY -1, caught10
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 -1
    NATIVE Range.fromFirst2
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught10:
    FRAME8 -1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getFirst
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE Range.getCount
    ITOS
    NATIVE Debug.log
    TRY -1, caught11
    PUSH0
    NATIVE Range.getCount
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught11:
    FRAME8 -1
    ; equals and notEquals take two range values from the stack
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Range.equals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Range.notEquals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Range.equals
    ITOS
    NATIVE Debug.log
    PUSH32 1
    PUSH32 2
    PUSH32 1
    PUSH32 3
    NATIVE Range.notEquals
    ITOS
    NATIVE Debug.log
    PUSH0
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Range.equals
    ITOS
    NATIVE Debug.log
    PUSH0
    PUSH32 2
    PUSH32 1
    PUSH32 2
    NATIVE Range.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    LOADN8 2
    PUSHGLOBALS
    FLDADDR8 2
    LOADN8 2
    NATIVE Range.equals
    ITOS
    NATIVE Debug.log
    TRY -1, caught12
    NATIVE Range, 13
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug.log
    PUSH0
caught12:
    FRAME8 -1
    RET 0, 1

; vminternalthrow(code, message): logs the message, then throws for the handler.
internalthrow:
    LDLOC8 -2
    NATIVE Debug.log
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Exception
    THROW
    RET 0, 2
