// SPDX-License-Identifier: MIT
// Fixed-point values to and from decimal text. Parsing reads UTF-16 code units; formatting
// produces digits from the 32-bit fraction by repeated multiplication by ten, so it is exact.
#include "Utility/ORaw.h"

#include "Base/Errors.h"
#include "Containers/OString.h"

#include <algorithm>

namespace zelmo {

namespace {
constexpr uint64_t kMaxFractionDigits = 0xFFFFFFFFu; // the accumulated fraction stays 32-bit
constexpr uint64_t kMaxPower = UINT64_MAX / 10;

int digitAt(std::u16string_view text, size_t i)
{
    if (i < text.size() && text[i] >= u'0' && text[i] <= u'9') return text[i] - u'0';
    return -1;
}

// The next decimal digit of a binary fraction: the carry out of fraction * 10.
char nextDigit(uint32_t& fraction)
{
    const uint64_t t = uint64_t{fraction} * 10;
    fraction = static_cast<uint32_t>(t);
    return static_cast<char>('0' + (t >> 32));
}
} // namespace

int64_t ORaw::parse(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && isSpaceUnit(text[i]))
        ++i;
    if (i == text.size()) throwError(kDataFormat);
    while (i < text.size() && text[i] == u'+')
        ++i;
    bool negative = false;
    if (i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }

    int64_t integer = 0;
    bool sawDigit = false;
    for (int d; (d = digitAt(text, i)) >= 0; ++i) {
        sawDigit = true;
        integer = integer * 10 + d;
        if (integer > INT32_MAX) return negative ? kMin : kMax;
    }
    if (!sawDigit) throwError(kDataFormat);

    uint64_t fraction = 0;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        uint64_t numerator = 0; // F
        uint64_t power = 1;     // P = 10^digits taken
        bool sawFractionDigit = false;
        for (int d; (d = digitAt(text, i)) >= 0; ++i) {
            sawFractionDigit = true;
            // Digits past what a 32-bit accumulator (or a 64-bit power of ten, for long runs
            // of leading zeros) can hold cannot change the 32-bit fraction much; drop them.
            if (numerator * 10 + d > kMaxFractionDigits || power > kMaxPower) break;
            numerator = numerator * 10 + d;
            power *= 10;
        }
        if (!sawFractionDigit) throwError(kDataFormat);
        if (numerator >= power) throwError(kAssertionFailed);
        // floor(F * 2^32 / P): F < 2^32, so the shifted numerator fits in 64 bits.
        fraction = (numerator << 32) / power;
        if (fraction > 0xFFFFFFFFu) throwError(kAssertionFailed);
    }

    const int64_t raw = static_cast<int64_t>((static_cast<uint64_t>(integer) << 32) | fraction);
    return negative ? -raw : raw;
}

std::u16string ORaw::toString(int64_t x, int decimals)
{
    if (decimals < -1 || decimals > kMaxDecimals) throwError(kInvalidArgument);

    const bool negative = x < 0;
    // MIN has no positive counterpart; its magnitude 2^63 still reads correctly as unsigned.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
    uint32_t integer = static_cast<uint32_t>(magnitude >> 32);
    uint32_t fraction = static_cast<uint32_t>(magnitude);

    std::string digits;
    if (decimals == -1) {
        do
            digits += nextDigit(fraction);
        while (fraction != 0);
    } else {
        digits.reserve(static_cast<size_t>(decimals));
        for (int k = 0; k < decimals; ++k)
            digits += nextDigit(fraction);
        if (nextDigit(fraction) >= '5') {
            int k = decimals - 1;
            for (; k >= 0; --k) {
                if (digits[k] < '9') {
                    ++digits[k];
                    break;
                }
                digits[k] = '0';
            }
            if (k < 0) {
                // The carry reaches the integer part. Stay inside the fixed-point range: the
                // largest integer part is 2147483647 for positive values, 2147483648 for
                // negative ones.
                const uint32_t largest = negative ? 0x80000000u : 0x7FFFFFFFu;
                if (integer >= largest)
                    std::fill(digits.begin(), digits.end(), '9');
                else
                    ++integer;
            }
        }
    }

    std::string out;
    if (negative) out += '-';
    out += std::to_string(integer);
    if (!digits.empty()) {
        out += '.';
        out += digits;
    }
    return std::u16string(out.begin(), out.end());
}

} // namespace zelmo
