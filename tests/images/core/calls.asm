; Frames, recursion, locals by address, block moves and the stack-shaping instructions.
.include "../common.inc"
.globals 2
.function @main main

main:
    ; fib(20) by plain recursion
    PUSH0
    PUSH32 20
    CALL fib, none
    logint
    ; LDLOC8 -1 duplicates the top; LOCADDR8 0 is the address of the new top slot itself
    PUSH32 41
    LDLOC8 -1
    ADD
    logint
    PUSH32 5
    LOCADDR8 0          ; [5, &slot1] where slot1 holds the address itself
    DUP
    LOAD                ; the slot holds its own address
    EQ
    logint
    FRAME8 -1
    ; FRAME8 2 pushes two zeros, FRAME8 -3 drops three words
    PUSH32 9
    FRAME8 2
    ADD
    ADD
    logint
    PUSH32 1
    PUSH32 2
    PUSH32 3
    PUSH32 4
    FRAME8 -3
    logint
    ; MKBLOCK8 3 keeps stack order; LOADN8 3 reads it back; LOADN32 gives the same
    PUSH32 10
    PUSH32 20
    PUSH32 30
    MKBLOCK8 3
    DUP
    LOADN8 3            ; [block, 10, 20, 30]
    SUB                 ; 20 - 30
    ADD                 ; 10 + -10
    logint
    LOADN32 3
    ADD
    ADD
    logint
    ; STOREN8 into the globals, COPY8 to a new block, CLEAR8
    PUSHGLOBALS
    PUSH32 7
    PUSH32 8
    STOREN8 2
    NEW NATIVE, 2
    PUSHGLOBALS
    COPY8 2             ; destination stays on top
    DUP
    LOADN8 2
    MUL
    logint
    DUP
    CLEAR8 2
    LOADN8 2
    ADD
    logint
    ; JZ16 with a non-zero top falls through and still pops
    PUSH32 77
    PUSH32 1
    JZ16 wrong
    logint
    ; compound assignment through addresses
    PUSHGLOBALS
    PUSH32 5
    ADDSET
    PUSHGLOBALS
    INC
    PUSHGLOBALS
    PUSH32 3
    SHLSET
    PUSHGLOBALS
    LOAD
    logint
    ; byte-sized stores and compound forms
    global 1
    PUSH32 0x1FE
    STORE8
    global 1
    INC8
    global 1
    INC8
    global 1
    LOAD
    logint
    global 1
    PUSH32 -3
    SHLSET8             ; negative count: every bit becomes the sign bit (0 here)
    global 1
    LOAD
    logint
    ; LDLOCI1 / LOCFLD1 go through the global block's address held in a local
    PUSHGLOBALS
    LDLOCI1 -1          ; global word 0
    logint
    LOCADDR8 -1         ; a local holding the address of the slot that holds the block
    LOCFLD1 -1, 1       ; address of global word 1, reached through that local
    PUSH32 1234
    STORE
    FRAME8 -2
    global 1
    LOAD
    logint
    RET 0, 0
wrong:
    PUSHSTR "JZ16 jumped on a non-zero top"
    NATIVE Debug.log
    RET 0, 0

; fib: [result, n, return] -> result = fib(n)
fib:
    LDLOC8 -2
    PUSH32 2
    LT
    JZ16 recurse
    LOCADDR8 -3
    LDLOC8 -3
    STORE
    RET 0, 2
recurse:
    LOCADDR8 -3
    PUSH0
    LDLOC8 -4
    PUSH32 1
    SUB
    CALL fib, none
    PUSH0
    LDLOC8 -5
    PUSH32 2
    SUB
    CALL fib, none
    ADD
    STORE
    RET 0, 2
