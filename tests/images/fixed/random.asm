; Math group (26): randomInt (12) and randomFixed (13). The generator is seeded from the
; processor clock, so the checks count values outside the bounds (given in reverse order) and
; record which values occurred.
.function @main main

main:
    ; randomInt(5, 1), 2000 draws. Stack: [bad, seen, count] (+ r inside the loop)
    PUSH32 0
    PUSH32 0
    PUSH32 2000
intloop:
    PUSH32 5
    PUSH32 1
    NATIVE Math.randomInt           ; [bad, seen, count, r]
    LOCADDR8 -4                     ; &bad
    LDLOC8 -2                       ; r
    DUP
    PUSH32 5
    NATIVE Math.minInt
    PUSH32 1
    NATIVE Math.maxInt              ; clamp(r) to [1, 5]
    NE
    SUBSET                          ; bad += 1 when r was outside
    LOCADDR8 -3                     ; &seen
    PUSH32 1
    LDLOC8 -3                       ; r
    SHL
    ORSET                           ; seen |= 1 << r
    FRAME8 -1
    LOCADDR8 -1
    DEC
    LDLOC8 -1
    JZ16 intdone
    JMP16 intloop
intdone:
    FRAME8 -1
    ITOS
    NATIVE Debug.log                ; 62: bits 1 to 5
    ITOS
    NATIVE Debug.log                ; 0 outside
    ; randomInt(7, 7) is 7
    PUSH32 7
    PUSH32 7
    NATIVE Math.randomInt
    ITOS
    NATIVE Debug.log
    ; randomFixed(10.0, -10.0), 2000 draws. Stack: [bad, negatives, count]
    PUSH32 0
    PUSH32 0
    PUSH32 2000
fixedloop:
    LOCADDR8 -3                     ; &bad
    PUSH64 0xA00000000
    PUSH64 -0xA00000000
    NATIVE Math.randomFixed         ; [.., &bad, r(2)]
    LDLOC8 -2
    LDLOC8 -2                       ; a copy of r
    PUSH64 0xA00000000
    NATIVE Math.minFixed
    PUSH64 -0xA00000000
    NATIVE Math.maxFixed            ; clamp(r) to [-10, 10]
    NATIVE Fixed.notEquals          ; 1 when r was outside
    ADDSET
    LOCADDR8 -2                     ; &negatives
    PUSH64 0xA00000000
    PUSH64 -0xA00000000
    NATIVE Math.randomFixed
    PUSH64 0
    NATIVE Fixed.less               ; 1 when below zero
    ADDSET
    LOCADDR8 -1
    DEC
    LDLOC8 -1
    JZ16 fixeddone
    JMP16 fixedloop
fixeddone:
    FRAME8 -1
    PUSH32 0
    GT                              ; some values below zero
    ITOS
    NATIVE Debug.log                ; -1
    ITOS
    NATIVE Debug.log                ; 0 outside
    ; the whole range: MIN to MAX draws on both sides of zero. Stack: [negatives, count]
    PUSH32 0
    PUSH32 200
wideloop:
    LOCADDR8 -2
    NATIVE Fixed.maxValue
    NATIVE Fixed.minValue
    NATIVE Math.randomFixed
    PUSH64 0
    NATIVE Fixed.less
    ADDSET
    LOCADDR8 -1
    DEC
    LDLOC8 -1
    JZ16 widedone
    JMP16 wideloop
widedone:
    FRAME8 -1
    DUP
    PUSH32 0
    GT
    ITOS
    NATIVE Debug.log                ; -1: some negative
    PUSH32 200
    LT
    ITOS
    NATIVE Debug.log                ; -1: some not negative
    ; equal fixed bounds
    PUSH64 0x340000000
    PUSH64 0x340000000
    NATIVE Math.randomFixed
    MKBLOCK8 2
    NATIVE Fixed.toString
    NATIVE Debug.log                ; 3.25
    PUSHSTR "done"
    NATIVE Debug.log
    RET 0, 0
