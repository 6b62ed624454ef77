; A program releases an object, writes through the handle it kept (over the word where a free
; entry names its free-list node) and releases the neighbour: the heap finds its bookkeeping
; damaged and the run ends with the fatal line and status 1, not an abort. The damaged entry is
; the second object's: the heap's first pool starts at the arena's first usable address 0x10000,
; with a 28-byte terminator and the first object's 36 bytes before it.
.function @main main
main:
    NEW NATIVE, 2
    NEW NATIVE, 2
    DUP
    FREE                    ; the second object is free; its handle stays on the stack
    FLDADDR8 -1             ; its header's last word: the free-list node index
    PUSH32 99
    STORE
    FREE                    ; the first object merges with its free neighbour
    RET 0, 0
