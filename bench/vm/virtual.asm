; 50 million virtual calls over three classes.
.globals 3
.class A
.class B
.class C
.function @main main
.selector "<*shape>.area"
.impl A areaA
.impl B areaB
.impl C areaC

main:
    PUSHGLOBALS
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS A
    STORE
    PUSHGLOBALS
    FLDADDR8 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS B
    STORE
    PUSHGLOBALS
    FLDADDR8 2
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS C
    STORE
    PUSH32 50000000         ; i
    PUSH0                   ; sum
loop:
    LOCADDR8 -1             ; &sum
    PUSH0                   ; result slot
    PUSHGLOBALS
    LDLOC8 -5               ; i
    PUSH32 3
    MOD
    PUSH32 4
    MUL
    ADD
    LOAD                    ; receiver: global i % 3
    DUP
    LOAD                    ; its class id
    CALLV "<*shape>.area"
    ADDSET                  ; sum += area
    LOCADDR8 -2             ; &i
    DEC
    LDLOC8 -2
    JZ16 done
    JMP16 loop
done:
    ITOS
    NATIVE Debug.log
    FRAME8 -1
    RET 0, 0

; area: [result, receiver, return]
areaA:
    LOCADDR8 -3
    PUSH32 1
    STORE
    RET 0, 2
areaB:
    LOCADDR8 -3
    PUSH32 2
    STORE
    RET 0, 2
areaC:
    LOCADDR8 -3
    PUSH32 3
    STORE
    RET 0, 2
