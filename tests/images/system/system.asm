; The System group: clocks, platform queries, the call stack text, the current date-time in a
; box, the stack helpers, the operations that answer "unknown" without a window host, and the
; request to exit.
.globals 1

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    ; clocks: the time since start-up is not negative; the wall clock does not go back
    NATIVE System, 3
    PUSH0
    GE
    ITOS
    NATIVE Debug, 1
    NATIVE System, 8
    NATIVE System, 8
    SUB
    PUSH0
    LE
    ITOS
    NATIVE Debug, 1
    ; the platform queries answer 0 on this host
    NATIVE System, 6
    ITOS
    NATIVE Debug, 1
    NATIVE System, 7
    ITOS
    NATIVE Debug, 1
    NATIVE System, 4
    NATIVE Debug, 1
    ; now: a date-time in a reference box, which the DateTime group takes as its reference
    PUSH0
    NATIVE System, 9
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSH32 1
    NATIVE System, 9
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 1
    PUSH32 2020
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime, 4
    PUSH32 1
    NATIVE System, 9
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    TRY -1, caught1
    PUSH32 2
    NATIVE System, 9
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
caught1:
    FRAME8 -1
    ; discard2 drops two words; nullResult14 and nullResult15 replace the top by 0
    PUSH32 1
    PUSH32 2
    PUSH32 3
    NATIVE System, 13
    ITOS
    NATIVE Debug, 1
    PUSH32 5
    NATIVE System, 14
    ITOS
    NATIVE Debug, 1
    PUSH32 5
    NATIVE System, 15
    ITOS
    NATIVE Debug, 1
    ; 16 is no operation at all (10 to 12, the fonts, are tested with the fonts)
    TRY -1, caught5
    NATIVE System, 16
    ENDTRY -1
    PUSHSTR "no error"
    NATIVE Debug, 1
    PUSH0
caught5:
    FRAME8 -1
    ; setApplicationObject, then the request to exit: the host hears the text, the
    ; invocation ends as an exit request and nothing after it runs
    NEW CLASS_OBJECT, 1
    NATIVE System, 5
    PUSHSTR "bye"
    NATIVE System, 2
    PUSHSTR "not reached"
    NATIVE Debug, 1
    RET 0, 1

; vminternalthrow(code, message): logs the message, then throws for the handler.
internalthrow:
    LDLOC8 -2
    NATIVE Debug, 1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Exception
    THROW
    RET 0, 2
