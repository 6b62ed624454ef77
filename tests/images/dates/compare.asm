; DateTime references and comparisons. sameReference and differentReference compare the slot
; values; the other comparisons compare moments, after expressing the second operand in the first
; one's timezone (the run's local time is UTC, so a local noon equals a UTC noon).
; setTimezone keeps the instant.
.globals 4

.function @main main

main:
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH0
    PUSH0
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH32 1
    PUSH32 1
    NATIVE DateTime, 4
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime, 4
    ; sameReference and differentReference look at the slot values only
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE DateTime, 22
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE DateTime, 23
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE DateTime, 22
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE DateTime, 23
    ITOS
    NATIVE Debug, 1
    ; equals, notEquals, before, beforeOrEqual, after, afterOrEqual
    ; global 0 against global 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 25
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 26
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 27
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 29
    ITOS
    NATIVE Debug, 1
    ; global 1 against global 0
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 25
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 26
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 27
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 29
    ITOS
    NATIVE Debug, 1
    ; global 1 against global 3
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 25
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 26
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 27
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime, 29
    ITOS
    NATIVE Debug, 1
    ; global 0 against global 2
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 25
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 26
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 27
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 29
    ITOS
    NATIVE Debug, 1
    ; global 2 against global 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 25
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 26
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 27
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 29
    ITOS
    NATIVE Debug, 1
    ; setTimezone keeps the instant; to the same timezone it changes nothing
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    NATIVE DateTime, 20
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE DateTime, 20
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime, 24
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    NATIVE DateTime, 20
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 21
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime, 13
    ITOS
    NATIVE Debug, 1
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime, 28
    ITOS
    NATIVE Debug, 1
    RET 0, 1
