// SPDX-License-Identifier: MIT
// The fixed-point number of the runtime: Q32.32 in a signed 64-bit raw value (high word the
// signed integer part, low word the unsigned fraction). kMin and kMax act as saturation values.
// Failures raise the machine's managed errors (MathException and friends) with an empty message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

class MersenneTwister;

class ORaw {
public:
    static constexpr int64_t kMin = INT64_MIN;
    static constexpr int64_t kMax = INT64_MAX;
    static constexpr int64_t kOne = int64_t{1} << 32;
    static constexpr int64_t kPi = (int64_t{3} << 32) + 608135817;
    static constexpr int64_t kE = (int64_t{2} << 32) + 0xB7E15163;
    static constexpr int64_t kEpsilon = 1;
    // Formatting writes every requested decimal; beyond this many the request is refused
    // rather than building a string of gigabytes.
    static constexpr int kMaxDecimals = 65535;

    static constexpr int64_t fromInt(int32_t value) { return static_cast<int64_t>(value) * kOne; }
    static constexpr int32_t integerPart(int64_t x) { return static_cast<int32_t>(x >> 32); }
    static constexpr uint32_t fractionPart(int64_t x) { return static_cast<uint32_t>(x); }

    static double toDouble(int64_t x) { return static_cast<double>(x) / 4294967296.0; }
    // Truncates toward zero and saturates; NaN raises MathException.
    static int64_t toFixed(double value);

    static int64_t abs(int64_t x);
    static int64_t negate(int64_t x);
    static int64_t add(int64_t a, int64_t b);
    static int64_t subtract(int64_t a, int64_t b);
    static int64_t multiply(int64_t a, int64_t b);
    static int64_t divide(int64_t a, int64_t b);

    static int32_t round(int64_t x);
    static int32_t ceil(int64_t x);
    static int32_t floor(int64_t x) { return integerPart(x); }

    // Decimal text with an optional sign and fraction; what follows the number is ignored.
    static int64_t parse(std::u16string_view text);
    // decimals = -1: every significant decimal; otherwise exactly that many, rounded half up.
    static std::u16string toString(int64_t x, int decimals = -1);

    static int64_t pow(int64_t a, int64_t b);
    static int64_t sin(int64_t x);
    static int64_t cos(int64_t x);
    static int64_t tan(int64_t x);
    static int64_t asin(int64_t x);
    static int64_t acos(int64_t x);
    static int64_t atan(int64_t x);
    static int64_t toDegrees(int64_t x);
    static int64_t toRadians(int64_t x);
    static int64_t sqrt(int64_t x);
    static int64_t ln(int64_t x);
    static int64_t log(int64_t a, int64_t base);

    // Uniform values between two bounds given in either order, both included.
    static int32_t randomInt(MersenneTwister& random, int32_t a, int32_t b);
    static int64_t randomFixed(MersenneTwister& random, int64_t a, int64_t b);
    // A value in [lo, hi] (lo <= hi) drawn as lo + fraction * (hi - lo).
    static int64_t randomInRange(MersenneTwister& random, int64_t lo, int64_t hi);
};

} // namespace zelmo
