// SPDX-License-Identifier: MIT
// Fixed-point conversions, saturating arithmetic and rounding to int.
#include "Utility/ORaw.h"

#include "Base/Errors.h"

#include <cmath>

namespace zelmo {

int64_t ORaw::toFixed(double value)
{
    if (std::isnan(value)) throwError(kMath);
    if (value <= 0) {
        if (value <= -2147483648.0) return kMin;
        return static_cast<int64_t>(value * 4294967296.0);
    }
    if (value >= 2147483648.0) return kMax;
    return static_cast<int64_t>(value * 4294967296.0);
}

int64_t ORaw::abs(int64_t x)
{
    if (x == kMin) return kMax;
    return x < 0 ? -x : x;
}

int64_t ORaw::negate(int64_t x)
{
    // The extremes stand for "too large": their negations swap them.
    if (x == kMax) return kMin;
    if (x == kMin) return kMax;
    return -x;
}

int64_t ORaw::add(int64_t a, int64_t b)
{
    const int64_t sum = static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
    if (a < 0 && b < 0 && sum >= 0) return kMin;
    if (a > 0 && b > 0 && sum < 0) return kMax;
    return sum;
}

int64_t ORaw::subtract(int64_t a, int64_t b)
{
    const int64_t difference =
        static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
    if (a < 0 && b > 0 && difference >= 0) return kMin;
    if (a >= 0 && b < 0 && difference < 0) return kMax;
    return difference;
}

int64_t ORaw::multiply(int64_t a, int64_t b)
{
    const bool negative = (a < 0) != (b < 0);
    // The magnitude is the exact floor of |a| * |b| / 2^32; saturating abs keeps both below 2^63.
    const unsigned __int128 product =
        static_cast<unsigned __int128>(abs(a)) * static_cast<unsigned __int128>(abs(b));
    const unsigned __int128 magnitude = product >> 32;
    if (magnitude > static_cast<unsigned __int128>(kMax)) return negative ? kMin : kMax;
    const int64_t result = static_cast<int64_t>(magnitude);
    return negative ? -result : result;
}

int64_t ORaw::divide(int64_t a, int64_t b)
{
    if (b == 0) throwError(kMath);
    return toFixed(static_cast<double>(a) / static_cast<double>(b));
}

int32_t ORaw::round(int64_t x)
{
    const int32_t h = integerPart(x);
    const uint32_t l = fractionPart(x);
    if (h >= 0) {
        if (h == INT32_MAX) return h;
        return l >= 0x80000000u ? h + 1 : h;
    }
    // A negative value rounds toward zero or stays at h, so h + 1 cannot overflow, not even
    // for h = -2147483648 (e.g. -2147483647.4 rounds to -2147483647).
    return l > 0x80000000u ? h + 1 : h;
}

int32_t ORaw::ceil(int64_t x)
{
    const int32_t h = integerPart(x);
    if (h == INT32_MAX) return h;
    return fractionPart(x) != 0 ? h + 1 : h;
}

} // namespace zelmo
