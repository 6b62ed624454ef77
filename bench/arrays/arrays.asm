; Array benchmark: fills an int array of 10 million elements (A[i] = i through elementRef),
; sums it five times (elementRef and LOAD), then appends one million ints to a second array.
; Logs the sum (wrapped to 32 bits) and the length of the appended array.
.globals 4                    ; A at 0, B at 2
.function @init init
.function @main main

init:
    RET 0, 0

main:                         ; frame: [ret i sum r]
    FRAME8 3
    PUSHGLOBALS               ; A = 10 million zeros
    PUSH32 0
    PUSH32 10000000
    NATIVE IntArray.initFilled
fill:
    LDLOC8 -3                 ; i
    PUSH32 10000000
    LT
    JZ16 filled
    PUSHGLOBALS
    LDLOC8 -4                 ; i
    NATIVE IntArray.elementRef ; &A[i]
    LDLOC8 -4                 ; i
    STORE
    LOCADDR8 -3
    INC
    JMP16 fill
filled:
round:
    LDLOC8 -1                 ; r
    PUSH32 5
    LT
    JZ16 summed
    LOCADDR8 -3
    STOREZ                    ; i = 0
sum:
    LDLOC8 -3                 ; i
    PUSH32 10000000
    LT
    JZ16 nextround
    LOCADDR8 -2               ; &sum
    PUSHGLOBALS
    LDLOC8 -5                 ; i
    NATIVE IntArray.elementRef
    LOAD
    ADDSET                    ; sum += A[i]
    LOCADDR8 -3
    INC
    JMP16 sum
nextround:
    LOCADDR8 -1
    INC                       ; r += 1
    JMP16 round
summed:
    PUSHGLOBALS               ; B: an empty int array
    FLDADDR8 2
    NEWARRAY 4
    LOCADDR8 -3
    STOREZ                    ; i = 0
append:
    LDLOC8 -3                 ; i
    PUSH32 1000000
    LT
    JZ16 appended
    PUSHGLOBALS
    FLDADDR8 2
    LDLOC8 -4                 ; i
    NATIVE IntArray.append    ; B.append(i)
    LOCADDR8 -3
    INC
    JMP16 append
appended:
    LDLOC8 -2
    ITOS
    NATIVE Debug.log          ; the sum
    PUSHGLOBALS
    FLDADDR8 2
    NATIVE IntArray.length
    ITOS
    NATIVE Debug.log          ; 1000000
    FRAME8 -3
    RET 0, 0
