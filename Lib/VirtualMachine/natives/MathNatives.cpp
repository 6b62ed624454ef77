// SPDX-License-Identifier: MIT
// Group 26, Math: trigonometry, logarithms and roots of fixed-point values, random numbers,
// minimum and maximum, and the constants. The generator lives as long as the machine.
#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FixedSlots.h"

#include <algorithm>
#include <ctime>

namespace zelmo {

namespace {
using Unary = int64_t (*)(int64_t);

Unary unary(int operation)
{
    switch (operation) {
    case 1:
        return ORaw::sin;
    case 2:
        return ORaw::cos;
    case 3:
        return ORaw::tan;
    case 4:
        return ORaw::asin;
    case 5:
        return ORaw::acos;
    case 6:
        return ORaw::atan;
    case 7:
        return ORaw::toDegrees;
    case 8:
        return ORaw::toRadians;
    case 9:
        return ORaw::sqrt;
    default:
        return ORaw::ln;
    }
}
} // namespace

MersenneTwister& VirtualMachine::random()
{
    if (!m_random) m_random.emplace(static_cast<uint32_t>(std::clock()));
    return *m_random;
}

void VirtualMachine::mathNative(int operation)
{
    switch (operation) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 11: // one fixed argument, replaced by the result
        setFixedArg(*this, 0, unary(operation)(fixedArg(*this, 0)));
        return;
    case 10: { // log(a, base)
        const int64_t result = ORaw::log(fixedArg(*this, 2), fixedArg(*this, 0));
        popWords(2);
        setFixedArg(*this, 0, result);
        return;
    }
    case 12: { // randomInt(a, b)
        const int32_t result = ORaw::randomInt(random(), arg(1), arg(0));
        popWords(1);
        arg(0) = result;
        return;
    }
    case 13: { // randomFixed(a, b)
        const int64_t result = ORaw::randomFixed(random(), fixedArg(*this, 2), fixedArg(*this, 0));
        popWords(2);
        setFixedArg(*this, 0, result);
        return;
    }
    case 14:
    case 17: { // minByte, maxByte: compare the sign-extended low bytes
        const int32_t a = static_cast<int8_t>(arg(1));
        const int32_t b = static_cast<int8_t>(arg(0));
        popWords(1);
        arg(0) = operation == 14 ? std::min(a, b) : std::max(a, b);
        return;
    }
    case 15:
    case 18: { // minInt, maxInt
        const int32_t a = arg(1);
        const int32_t b = arg(0);
        popWords(1);
        arg(0) = operation == 15 ? std::min(a, b) : std::max(a, b);
        return;
    }
    case 16:
    case 19: { // minFixed, maxFixed
        const int64_t a = fixedArg(*this, 2);
        const int64_t b = fixedArg(*this, 0);
        popWords(2);
        setFixedArg(*this, 0, operation == 16 ? (a < b ? a : b) : (a > b ? a : b));
        return;
    }
    case 20:
        pushFixed(*this, ORaw::kE);
        return;
    case 21:
        pushFixed(*this, ORaw::kPi);
        return;
    case 22:
        pushFixed(*this, ORaw::kEpsilon);
        return;
    default:
        unknownOperation("Math:");
    }
}

} // namespace zelmo
