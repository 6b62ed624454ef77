; The System group: clocks, platform queries, the call stack text, the current date-time in a
; box, the stack helpers, the operations that answer "unknown" without a window host, and the
; request to exit.
.include "../common.inc"
.globals 1

.class Exception

.function @main main
.function @internalthrow internalthrow

main:
    ; clocks: the time since start-up is not negative; the wall clock does not go back
    NATIVE System.elapsedMillis
    PUSH0
    GE
    logint
    NATIVE System.currentTimeMillis
    NATIVE System.currentTimeMillis
    SUB
    PUSH0
    LE
    logint
    ; the platform queries answer 0 on this host
    NATIVE System.queryInteger14
    logint
    NATIVE System.queryInteger13
    logint
    NATIVE System.callStack
    NATIVE Debug.log
    ; now: a date-time in a reference box, which the DateTime group takes as its reference
    PUSH0
    NATIVE System.now
    NATIVE DateTime.getTimezone
    logint
    PUSH32 1
    NATIVE System.now
    NATIVE DateTime.getTimezone
    logint
    global 0
    push3 1, 1, 2020
    PUSH0
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    PUSH32 1
    NATIVE System.now
    global 0
    NATIVE DateTime.after
    logint
    TRY -1, caught1
    PUSH32 2
    NATIVE System.now
    ENDTRY -1
    logstr "no error"
    PUSH0
caught1:
    FRAME8 -1
    ; discard2 drops two words; nullResult14 and nullResult15 replace the top by 0
    push3 1, 2, 3
    NATIVE System.discard2
    logint
    PUSH32 5
    NATIVE System.nullResult14
    logint
    PUSH32 5
    NATIVE System.nullResult15
    logint
    ; 16 is no operation at all (10 to 12, the fonts, are tested with the fonts)
    TRY -1, caught5
unknown4:
    NATIVE System, 16
    ENDTRY -1
    logstr "no error"
    PUSH0
caught5:
    FRAME8 -1
    ; setApplicationObject, then the request to exit: the host hears the text, the
    ; invocation ends as an exit request and nothing after it runs
    NEW CLASS_OBJECT, 1
    NATIVE System.setApplicationObject
    PUSHSTR "bye"
    NATIVE System.requestExit
    logstr "not reached"
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
