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
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 1
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 2
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH32 1
    PUSH32 1
    NATIVE DateTime.create
    PUSHGLOBALS
    FLDADDR8 3
    PUSH32 1
    PUSH32 7
    PUSH32 2009
    PUSH32 12
    PUSH0
    PUSH0
    PUSH32 1
    NATIVE DateTime.create
    ; sameReference and differentReference look at the slot values only
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE DateTime.sameReference
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 3
    LOAD
    NATIVE DateTime.differentReference
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE DateTime.sameReference
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    NATIVE DateTime.differentReference
    ITOS
    NATIVE Debug.log
    ; equals, notEquals, before, beforeOrEqual, after, afterOrEqual
    ; global 0 against global 1
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.before
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.beforeOrEqual
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.afterOrEqual
    ITOS
    NATIVE Debug.log
    ; global 1 against global 0
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.before
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.beforeOrEqual
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.afterOrEqual
    ITOS
    NATIVE Debug.log
    ; global 1 against global 3
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.before
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.beforeOrEqual
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 3
    NATIVE DateTime.afterOrEqual
    ITOS
    NATIVE Debug.log
    ; global 0 against global 2
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.before
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.beforeOrEqual
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.afterOrEqual
    ITOS
    NATIVE Debug.log
    ; global 2 against global 0
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.notEquals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.before
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.beforeOrEqual
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.afterOrEqual
    ITOS
    NATIVE Debug.log
    ; setTimezone keeps the instant; to the same timezone it changes nothing
    PUSHGLOBALS
    FLDADDR8 0
    PUSH0
    NATIVE DateTime.setTimezone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSH32 1
    NATIVE DateTime.setTimezone
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 0
    PUSHGLOBALS
    FLDADDR8 1
    NATIVE DateTime.equals
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSH0
    NATIVE DateTime.setTimezone
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.toString
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log
    PUSHGLOBALS
    FLDADDR8 2
    PUSHGLOBALS
    FLDADDR8 0
    NATIVE DateTime.after
    ITOS
    NATIVE Debug.log
    RET 0, 1
