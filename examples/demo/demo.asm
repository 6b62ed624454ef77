; The demo application: greets, lists the primes below 50 and counts down, all through the
; application's own log ("LOG: " lines on standard error).
.globals 1
.class App
.function @init init
.function @main main

.string greeting "zelmo demo: hello from the bytecode"

init:
    PUSHSTR greeting
    NATIVE Debug.log
    RET 0, 0

main:
    NEW CLASS_OBJECT, 1                 ; the application object
    DUP
    SETCLASS App
    NATIVE System.setApplicationObject
    PUSHSTR "primes below 50:"
    NATIVE Debug.log
    PUSH32 2                            ; n
next:
    LDLOC8 -1
    PUSH32 50
    LT
    JZ16 primesdone
    PUSH32 2                            ; d
trial:
    LDLOC8 -1
    LDLOC8 -1
    MUL
    LDLOC8 -3
    GT                                  ; d * d > n: n is prime
    JZ16 testdivisor
    LDLOC8 -2
    ITOS
    NATIVE Debug.log
    JMP16 advance
testdivisor:
    LDLOC8 -2
    LDLOC8 -2
    MOD
    JZ16 advance                        ; divisible: not prime
    LOCADDR8 -1
    INC
    JMP16 trial
advance:
    FRAME8 -1                           ; drop d
    LOCADDR8 -1
    INC
    JMP16 next
primesdone:
    FRAME8 -1
    PUSHSTR "fib(25) ="
    NATIVE Debug.log
    PUSH0
    PUSH32 25
    CALL fib, none
    ITOS
    NATIVE Debug.log
    PUSHSTR "goodbye"
    NATIVE Debug.log
    NATIVE System.exit                  ; exit
    RET 0, 0

; fib: [result, n, return] -> result = fib(n)
fib:
    LDLOC8 -2
    PUSH32 2
    LT
    JZ16 recurse
    LOCADDR8 -3
    LDLOC8 -3
    STORE
    RET 0, 2
recurse:
    LOCADDR8 -3
    PUSH0
    LDLOC8 -4
    PUSH32 1
    SUB
    CALL fib, none
    PUSH0
    LDLOC8 -5
    PUSH32 2
    SUB
    CALL fib, none
    ADD
    STORE
    RET 0, 2
