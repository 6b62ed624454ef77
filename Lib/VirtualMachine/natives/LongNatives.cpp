// SPDX-License-Identifier: MIT
// Group 12, Long: 64-bit arithmetic, comparison, bit operations and conversions. Longs are
// passed by the address of their 8 bytes (low word first); results that are values go to a new
// 8-byte GC_CODE_NATIVE block, compound assignments write through the first address. Every
// operand is read before anything is written or popped, so a null or bad address leaves the
// stack and the operands as they were.
//
// Where the arithmetic itself has no answer the group behaves soundly: dividing by zero raises
// DivisionByZeroException "Division by zero." (like the instruction set's byte division), the
// most negative long divided by -1 wraps to itself with remainder 0, and shifts take the low
// word of the count as a signed number: above 63 the result is 0 in both directions, a negative
// count shifts the other way by its magnitude.
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/IntegerArithmetic.h"

namespace zelmo {

namespace {

int64_t divisorOf(int64_t value)
{
    if (value == 0) throwError(kDivisionByZero, "Division by zero.");
    return value;
}

// The operation of a two-operand value or compound-assignment form.
int64_t combine(int operation, int64_t a, int64_t b)
{
    switch (operation) {
    case 5:
    case 13:
        return wrapAdd(a, b);
    case 6:
    case 14:
        return wrapSubtract(a, b);
    case 7:
    case 15:
        return wrapMultiply(a, b);
    case 8:
    case 16:
        return longQuotient(a, divisorOf(b));
    case 9:
    case 17:
        return longRemainder(a, divisorOf(b));
    case 24:
    case 29:
        return a & b;
    case 25:
    case 30:
        return a | b;
    case 26:
    case 31:
        return a ^ b;
    case 27:
    case 32: // the count is the low word of the second long
        return longShiftLeft(a, static_cast<int32_t>(static_cast<uint32_t>(b)));
    default: // 28, 33
        return longShiftRight(a, static_cast<int32_t>(static_cast<uint32_t>(b)));
    }
}

bool compare(int operation, int64_t a, int64_t b)
{
    switch (operation) {
    case 18:
        return a == b;
    case 19:
        return a < b;
    case 20:
        return a <= b;
    case 21:
        return a != b;
    case 22:
        return a > b;
    default: // 23
        return a >= b;
    }
}

} // namespace

void VirtualMachine::longNative(int operation)
{
    GuestMemory& mem = memory();
    // A new long holding `value`; its handle is its address.
    auto newLong = [&](int64_t value) {
        const uint32_t cell = heap().allocate(8, 0, GC_CODE_NATIVE);
        mem.store64(cell, value);
        return static_cast<int32_t>(cell);
    };

    switch (operation) {
    case 1: // clear(a)
        mem.store64(argU(0), 0);
        popWords(1);
        return;
    case 2: // assign(a, b)
    case 3: // assignCopy(a, b)
        mem.store64(argU(1), mem.load64(argU(0)));
        popWords(2);
        return;
    // Value forms: a op b in a new long.
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28: {
        const int64_t a = mem.load64(argU(1));
        const int64_t result = combine(operation, a, mem.load64(argU(0)));
        arg(1) = newLong(result);
        popWords(1);
        return;
    }
    case 10: // negate(a, x): reads the slot below the top, overwrites the top, pops nothing
        arg(0) = newLong(wrapNegate(mem.load64(argU(1))));
        return;
    case 11: // increment(a)
        mem.store64(argU(0), wrapAdd(mem.load64(argU(0)), 1));
        popWords(1);
        return;
    case 12: // decrement(a)
        mem.store64(argU(0), wrapSubtract(mem.load64(argU(0)), 1));
        popWords(1);
        return;
    // Compound assignments: a op= b through the first address.
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 29:
    case 30:
    case 31:
    case 32:
    case 33: {
        const uint32_t target = argU(1);
        const int64_t a = mem.load64(target);
        mem.store64(target, combine(operation, a, mem.load64(argU(0))));
        popWords(2);
        return;
    }
    // Comparisons leave 1 or 0.
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23: {
        const int64_t a = mem.load64(argU(1));
        arg(1) = compare(operation, a, mem.load64(argU(0))) ? 1 : 0;
        popWords(1);
        return;
    }
    case 34: // toString(a)
        arg(0) = static_cast<int32_t>(newString(OString(longToDecimal(mem.load64(argU(0))))));
        return;
    case 35: // nop
    case 36: // nop
        return;
    case 37: // toInt(a): the low word
        arg(0) = static_cast<int32_t>(static_cast<uint32_t>(mem.load64(argU(0))));
        return;
    case 38: // fromInt(i)
        arg(0) = newLong(arg(0));
        return;
    default: // 4 is reserved and rejected like every number the group does not know
        unknownOperation("Long:");
    }
}

} // namespace zelmo
