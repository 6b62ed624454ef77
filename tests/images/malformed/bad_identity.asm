; An identity of 19 bytes: the image is malformed.
.identity 00112233445566778899aabbccddeeff001122
.function @main main
main:
    RET 0, 0
