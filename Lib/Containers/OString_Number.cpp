// SPDX-License-Identifier: MIT
// Numbers as OString text: decimal and radix formatting of ints, and the three parsers
// (decimal int, radix int, radix long). Parsed values wrap modulo 2^32 (2^64), as guest
// integer arithmetic does.
#include "Containers/OString.h"

#include "Base/Errors.h"

#include <array>

namespace zelmo {

namespace {

constexpr char16_t kDigits[] = u"0123456789abcdefghijklmnopqrstuvwxyz";

using DigitBuffer = std::array<char16_t, 33>;

// The text of `value` in the radix, in the end of `buffer`: digits of |value| least
// significant first, then the sign.
std::u16string_view formatDigits(int32_t value, int radix, DigitBuffer& buffer)
{
    size_t at = buffer.size(); // written from the end, read only where written
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    if (radix == 10) {
        // The common case, with a constant divisor the compiler turns into a multiplication.
        do {
            buffer[--at] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
    } else {
        do {
            buffer[--at] = kDigits[magnitude % static_cast<uint32_t>(radix)];
            magnitude /= static_cast<uint32_t>(radix);
        } while (magnitude != 0);
    }
    if (value < 0) buffer[--at] = u'-';
    return std::u16string_view(buffer.data() + at, buffer.size() - at);
}

OString formatInt(int32_t value, int radix)
{
    DigitBuffer buffer;
    return OString(formatDigits(value, radix, buffer));
}

// The value of a digit or letter of either case, or 99 for anything else.
int digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'z') return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
    return 99;
}

int skipSpace(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && isSpaceUnit(text[i]))
        ++i;
    return static_cast<int>(i);
}

// Accumulates digits below the radix from `i` on; tells whether there was any.
template <class Unsigned>
bool accumulate(std::u16string_view text, size_t i, int radix, Unsigned& value)
{
    bool any = false;
    value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit >= radix) break;
        value = value * static_cast<Unsigned>(radix) + static_cast<Unsigned>(digit);
        any = true;
    }
    return any;
}

void checkRadix(int radix)
{
    if (radix < 2 || radix > 36) throwError(kInvalidArgument);
}

} // namespace

OString OString::fromInt(int32_t value)
{
    return formatInt(value, 10);
}

void OString::appendDecimal(int32_t value)
{
    DigitBuffer buffer;
    append(formatDigits(value, 10, buffer));
}

OString OString::fromIntRadix(int32_t value, int radix)
{
    if (radix < 2 || radix > 36) return OString();
    return formatInt(value, radix);
}

int32_t OString::toInt() const
{
    const std::u16string_view text = view();
    size_t i = static_cast<size_t>(skipSpace(text));
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        // "+-0" reads as zero rather than as a malformed number.
        if (text.substr(i, 3) == u"+-0") return 0;
        negative = text[i] == u'-';
        ++i;
    }
    uint32_t value = 0;
    if (!accumulate(text, i, 10, value)) throwError(kDataFormat);
    return static_cast<int32_t>(negative ? 0u - value : value);
}

int32_t OString::toIntRadix(int radix) const
{
    checkRadix(radix);
    const std::u16string_view text = view();
    uint32_t value = 0;
    if (!accumulate(text, static_cast<size_t>(skipSpace(text)), radix, value))
        throwError(kDataFormat);
    return static_cast<int32_t>(value);
}

int64_t OString::toLongRadix(int radix, bool& anyDigit) const
{
    checkRadix(radix);
    const std::u16string_view text = view();
    uint64_t value = 0;
    anyDigit = accumulate(text, static_cast<size_t>(skipSpace(text)), radix, value);
    return static_cast<int64_t>(value);
}

} // namespace zelmo
