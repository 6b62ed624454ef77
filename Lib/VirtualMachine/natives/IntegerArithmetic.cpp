// SPDX-License-Identifier: MIT
// Radix and decimal text of the integer groups: digits are produced least significant first
// into a buffer filled from its end.
#include "VirtualMachine/natives/IntegerArithmetic.h"

#include <array>

namespace zelmo {

std::u16string unsignedToRadix(uint32_t value, int32_t radix)
{
    if (radix < 2 || radix > 36) return {};
    std::array<char16_t, 32> digits{}; // base 2 needs 32 digits at most
    size_t start = digits.size();
    do {
        const uint32_t digit = value % static_cast<uint32_t>(radix);
        value /= static_cast<uint32_t>(radix);
        digits[--start] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + (digit - 10));
    } while (value != 0);
    return std::u16string(digits.begin() + static_cast<std::ptrdiff_t>(start), digits.end());
}

std::u16string longToDecimal(int64_t value)
{
    // The magnitude as unsigned: the most negative value's magnitude does not fit a long.
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::array<char16_t, 20> digits{}; // sign + 19 digits
    size_t start = digits.size();
    do {
        digits[--start] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--start] = u'-';
    return std::u16string(digits.begin() + static_cast<std::ptrdiff_t>(start), digits.end());
}

} // namespace zelmo
