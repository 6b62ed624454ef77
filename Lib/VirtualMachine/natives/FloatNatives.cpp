// SPDX-License-Identifier: MIT
// Group 36, Float: IEEE single-precision arithmetic on one-word values, conversion from
// fixed-point and "%g"-style text. Operation numbers start at 0.
#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FixedSlots.h"

#include <bit>
#include <charconv>

namespace zelmo {

namespace {
float floatOf(uint32_t word)
{
    return std::bit_cast<float>(word);
}
int32_t wordOf(float value)
{
    return std::bit_cast<int32_t>(value);
}

float apply(int operation, float a, float b)
{
    switch (operation) {
    case 1:
    case 6:
        return a + b;
    case 2:
    case 7:
        return a - b;
    case 3:
    case 8:
        return a * b;
    default:
        return a / b;
    }
}

// printf's %g with six significant digits, independent of the process locale (the host may
// have set one whose decimal separator is not a point).
OString generalText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return OString::fromLatin1(std::string_view(text, static_cast<size_t>(result.ptr - text)));
}
} // namespace

void VirtualMachine::floatNative(int operation)
{
    switch (operation) {
    case 0: { // fromFixed(x)
        const float value = static_cast<float>(ORaw::toDouble(fixedArg(*this, 0)));
        popWords(1);
        arg(0) = wordOf(value);
        return;
    }
    case 1:
    case 2:
    case 3:
    case 4: { // a op b
        const float result = apply(operation, floatOf(argU(1)), floatOf(argU(0)));
        popWords(1);
        arg(0) = wordOf(result);
        return;
    }
    case 5:
        arg(0) = wordOf(-floatOf(argU(0)));
        return;
    case 6:
    case 7:
    case 8:
    case 9: { // *r op= b
        const uint32_t target = argU(1);
        const float result = apply(operation, floatOf(loadWord(target)), floatOf(argU(0)));
        storeWord(target, static_cast<uint32_t>(wordOf(result)));
        popWords(2);
        return;
    }
    case 10:
        arg(0) = static_cast<int32_t>(newString(generalText(floatOf(argU(0)))));
        return;
    default:
        unknownOperation("Float: invalid opcode: ", operation);
    }
}

} // namespace zelmo
