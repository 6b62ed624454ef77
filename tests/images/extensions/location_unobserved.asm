; An application without the observer methods gets no calls from a position source and runs
; on unharmed.
.include "extension.inc"
.globals 2                      ; 0: the request; 1: calls so far
.class Watcher
.function @main main

main:
    watch
