; An unknown KeyEvent operation names the operation; with no exception builder in the image
; the error ends the run and says what it was.
.function @main main
main:
    PUSH0
    NATIVE KeyEvent, 9
    RET 0, 0
