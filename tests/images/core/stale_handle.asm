; A program releases an object, writes through the handle it kept (over the word where a free
; entry names its free-list node) and releases the neighbour: the heap finds its bookkeeping
; damaged and the run ends with the fatal line and status 1, not an abort. The damaged entry is
; the second object's: the heap's first pool starts at the arena's first usable address 0x10000,
; with a 28-byte terminator and the first object's 308 bytes before it. The objects are too large
; for the quick lists of small released entries, so the second release merges at once.
.function @main main
main:
    NEW NATIVE, 70
    NEW NATIVE, 70
    DUP
    FREE                    ; the second object is free; its handle stays on the stack
    FLDADDR8 -1             ; its header's last word: the free-list node index
    PUSH32 99
    STORE
    FREE                    ; the first object merges with its free neighbour
    RET 0, 0
