// SPDX-License-Identifier: MIT
// The integer rules of the Number and Long groups as plain functions: absolute values, radix
// and decimal text, and 64-bit division and shifts that are defined for every operand (the
// machine never executes a C++ operation whose result is undefined for a guest value).
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace zelmo {

// The absolute value of the low byte of a word read as signed; a positive byte leaves the whole
// word as it was (the caller stores the result back only in that case).
constexpr int32_t absByte(int32_t word)
{
    const int32_t value = static_cast<int8_t>(static_cast<uint8_t>(word));
    return value <= 0 ? -value : word;
}

// abs() that saturates: the most negative int has no positive counterpart.
constexpr int32_t absInt(int32_t value)
{
    if (value == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
    return value < 0 ? -value : value;
}

// `value` as an unsigned number in a radix of 2 to 36 (digits 0-9 then a-z, no sign, no
// prefix); any other radix gives the empty text.
std::u16string unsignedToRadix(uint32_t value, int32_t radix);

// Signed decimal text of a long; the most negative value prints all its 19 digits.
std::u16string longToDecimal(int64_t value);

// Wrapping 64-bit arithmetic, done in unsigned arithmetic so that overflow is defined.
constexpr int64_t wrapAdd(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
constexpr int64_t wrapSubtract(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
constexpr int64_t wrapMultiply(int64_t a, int64_t b)
{
    return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}
constexpr int64_t wrapNegate(int64_t a)
{
    return static_cast<int64_t>(0 - static_cast<uint64_t>(a));
}

// Truncating division for a non-zero divisor (the caller rejects zero). The most negative
// value divided by -1 wraps to itself, as the word division of the instruction set does.
constexpr int64_t longQuotient(int64_t a, int64_t b)
{
    if (b == -1) return wrapNegate(a);
    return a / b;
}
// The remainder that goes with longQuotient: the sign of the dividend, 0 for a divisor of -1.
constexpr int64_t longRemainder(int64_t a, int64_t b)
{
    if (b == -1) return 0;
    return a % b;
}

// Shifts by a signed 32-bit count. 0..63 is the ordinary shift (arithmetic to the right); a
// count above 63 shifts every bit out and gives 0 in both directions, even for a negative value
// shifted right (the rule of the instruction set's word shifts); a negative count shifts the
// other way by its magnitude, with the same rule for magnitudes above 63.
constexpr int64_t longShiftLeft(int64_t a, int32_t count);
constexpr int64_t longShiftRight(int64_t a, int32_t count)
{
    if (count < 0) return count < -63 ? 0 : longShiftLeft(a, -count);
    if (count > 63) return 0;
    return a >> count;
}
constexpr int64_t longShiftLeft(int64_t a, int32_t count)
{
    if (count < 0) return count < -63 ? 0 : longShiftRight(a, -count);
    if (count > 63) return 0;
    return static_cast<int64_t>(static_cast<uint64_t>(a) << count);
}

} // namespace zelmo
