; An image without main cannot start.
.function "mainloop" start
start:
    RET 0, 0
