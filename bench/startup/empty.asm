; Start-up: an application whose main returns at once.
.function @main main

main:
    RET 0, 0
