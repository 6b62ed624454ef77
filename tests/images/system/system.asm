; The System group: platform queries, the call stack text, the current date-time in a box, the
; stack helpers, the operations that answer "unknown" without a window host, and the request to
; exit. (The clocks are HostServicesTest's.)
.include "../common.inc"
.include "../errors.inc"
.globals 1

main:
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
    fails 1
    PUSH32 2
    NATIVE System.now
    failed 1
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
    fails 2
unknown4:
    NATIVE System, 16
    failed 2
    ; setApplicationObject, then the request to exit: the host hears the text, the
    ; invocation ends as an exit request and nothing after it runs
    NEW CLASS_OBJECT, 1
    NATIVE System.setApplicationObject
    PUSHSTR "bye"
    NATIVE System.requestExit
    logstr "not reached"
    RET 0, 1
