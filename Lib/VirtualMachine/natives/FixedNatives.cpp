// SPDX-License-Identifier: MIT
// Group 11, Fixed: conversions, saturating arithmetic, comparisons, rounding, parsing and
// formatting of Q32.32 values. Values travel in two stack words; compound assignments and the
// formatting operations take the address of the value's 8 bytes, which is null-checked.
#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FixedSlots.h"

namespace zelmo {

namespace {
using Binary = int64_t (*)(int64_t, int64_t);

Binary arithmetic(int operation)
{
    switch (operation) {
    case 7:
    case 12:
        return ORaw::add;
    case 8:
    case 13:
        return ORaw::subtract;
    case 9:
    case 14:
        return ORaw::multiply;
    case 10:
    case 15:
        return ORaw::divide;
    default:
        return ORaw::pow;
    }
}

bool compare(int operation, int64_t a, int64_t b)
{
    switch (operation) {
    case 18:
        return a == b;
    case 19:
        return a != b;
    case 20:
        return a < b;
    case 21:
        return a <= b;
    case 22:
        return a > b;
    default:
        return a >= b;
    }
}
} // namespace

void VirtualMachine::fixedNative(int operation)
{
    switch (operation) {
    case 1: { // fromReference(r): the value replaces r and the word above it
        const int64_t value = memory().load64(argU(0));
        pushWord(0);
        setFixedArg(*this, 0, value);
        return;
    }
    case 2: { // fromByte(b)
        const int64_t value = ORaw::fromInt(static_cast<int8_t>(arg(0)));
        pushWord(0);
        setFixedArg(*this, 0, value);
        return;
    }
    case 3: { // fromInt(i)
        const int64_t value = ORaw::fromInt(arg(0));
        pushWord(0);
        setFixedArg(*this, 0, value);
        return;
    }
    case 4: { // parse(string)
        const int64_t value = ORaw::parse(stringOf(argU(0)).view());
        pushWord(0);
        setFixedArg(*this, 0, value);
        return;
    }
    case 5: // abs(x)
        setFixedArg(*this, 0, ORaw::abs(fixedArg(*this, 0)));
        return;
    case 6: // negate(x)
        setFixedArg(*this, 0, ORaw::negate(fixedArg(*this, 0)));
        return;
    case 7:
    case 8:
    case 9:
    case 10:
    case 11: { // add, subtract, multiply, divide, pow (a, b)
        const int64_t result = arithmetic(operation)(fixedArg(*this, 2), fixedArg(*this, 0));
        popWords(2);
        setFixedArg(*this, 0, result);
        return;
    }
    case 12:
    case 13:
    case 14:
    case 15: { // *r op= b
        const uint32_t target = argU(2);
        const int64_t value = arithmetic(operation)(memory().load64(target), fixedArg(*this, 0));
        memory().store64(target, value);
        popWords(3);
        return;
    }
    case 16:
    case 17: { // increment, decrement (r)
        const uint32_t target = argU(0);
        const int64_t value = memory().load64(target);
        memory().store64(target, operation == 16 ? ORaw::add(value, ORaw::kOne)
                                                 : ORaw::subtract(value, ORaw::kOne));
        popWords(1);
        return;
    }
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23: { // comparisons (a, b): 1 or 0
        const bool result = compare(operation, fixedArg(*this, 2), fixedArg(*this, 0));
        popWords(3);
        arg(0) = result ? 1 : 0;
        return;
    }
    case 24: { // toStringDecimals(r, d)
        const int decimals = arg(0);
        const std::u16string text = ORaw::toString(memory().load64(argU(1)), decimals);
        const uint32_t string = newString(OString(text));
        popWords(1);
        arg(0) = static_cast<int32_t>(string);
        return;
    }
    case 25: { // toString(r)
        const std::u16string text = ORaw::toString(memory().load64(argU(0)));
        arg(0) = static_cast<int32_t>(newString(OString(text)));
        return;
    }
    case 26:
    case 27:
    case 28: { // round, ceil, floor (x) to int
        const int64_t x = fixedArg(*this, 0);
        popWords(1);
        arg(0) = operation == 26   ? ORaw::round(x)
                 : operation == 27 ? ORaw::ceil(x)
                                   : ORaw::floor(x);
        return;
    }
    case 29:
        pushFixed(*this, ORaw::kMin);
        return;
    case 30:
        pushFixed(*this, ORaw::kMax);
        return;
    default:
        unknownOperation("Fixed:");
    }
}

} // namespace zelmo
