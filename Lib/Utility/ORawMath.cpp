// SPDX-License-Identifier: MIT
// Fixed-point powers, trigonometry, logarithms and random values. The transcendental functions
// go through double and back with toFixed, so a NaN result raises MathException.
#include "Utility/ORaw.h"

#include "Base/Errors.h"
#include "Utility/MersenneTwister.h"

#include <cmath>

namespace zelmo {

namespace {
constexpr int64_t kTwoPi = (int64_t{6} << 32) + 1216271633;
constexpr int64_t kDegreesPerRadian = (int64_t{57} << 32) + 1270363335; // 180 / pi
constexpr int64_t kRadiansPerDegree = 74961320;                         // pi / 180
constexpr int64_t kFullCircleDegrees = int64_t{360} << 32;

int64_t throughDouble(double (*function)(double), int64_t x)
{
    return ORaw::toFixed(function(ORaw::toDouble(x)));
}
} // namespace

int64_t ORaw::pow(int64_t a, int64_t b)
{
    if (b == 0) return kOne;
    if (a == 0) {
        if (b < 0) throwError(kMath);
        return 0;
    }
    bool negateResult = false;
    if (a < 0) {
        if (fractionPart(b) != 0) throwError(kMath);
        negateResult = (integerPart(b) & 1) != 0;
    }
    double r = std::pow(toDouble(abs(a)), toDouble(abs(b)));
    if (std::isnan(r)) {
        if (b < 0) return 0;
        return negateResult ? kMin : kMax;
    }
    // r may have underflowed to 0 or overflowed to infinity; both then take the usual path:
    // a vanishing power gives 0 (or, inverted, saturates) and an infinite one saturates (or,
    // inverted, gives 0).
    if (b < 0) r = 1.0 / r;
    if (negateResult) r = -r;
    return toFixed(r);
}

int64_t ORaw::sin(int64_t x)
{
    return throughDouble(std::sin, x);
}
int64_t ORaw::cos(int64_t x)
{
    return throughDouble(std::cos, x);
}
int64_t ORaw::atan(int64_t x)
{
    return throughDouble(std::atan, x);
}

int64_t ORaw::tan(int64_t x)
{
    const int64_t result = throughDouble(std::tan, x);
    if (result == kMin || result == kMax) throwError(kMath);
    return result;
}

int64_t ORaw::asin(int64_t x)
{
    if (x < -kOne || x > kOne) throwError(kMath);
    return throughDouble(std::asin, x);
}

int64_t ORaw::acos(int64_t x)
{
    if (x < -kOne || x > kOne) throwError(kMath);
    return throughDouble(std::acos, x);
}

int64_t ORaw::sqrt(int64_t x)
{
    if (x < 0) throwError(kMath);
    return throughDouble(std::sqrt, x);
}

int64_t ORaw::ln(int64_t x)
{
    if (x <= 0) throwError(kMath);
    return throughDouble(std::log, x);
}

int64_t ORaw::log(int64_t a, int64_t base)
{
    if (base == 0 || base == kOne || base == -kOne) throwError(kMath);
    if (a == base) return kOne;
    return divide(ln(a), ln(base));
}

int64_t ORaw::toRadians(int64_t x)
{
    const int64_t magnitude = abs(x);
    if (magnitude > kFullCircleDegrees) throwError(kMath);
    const int64_t result = multiply(magnitude, kRadiansPerDegree);
    return x < 0 ? negate(result) : result;
}

int64_t ORaw::toDegrees(int64_t x)
{
    int64_t magnitude = abs(x);
    if (magnitude >= kTwoPi) {
        // Only values a hair above 2 pi (less than 2^-16) are taken as 2 pi itself.
        const int32_t h = integerPart(magnitude);
        const uint32_t l = fractionPart(magnitude);
        if (h >= 7 || (h == 6 && (l & 0xFFFF0000u) > fractionPart(kTwoPi))) throwError(kMath);
        magnitude = kTwoPi;
    }
    const int64_t result = multiply(magnitude, kDegreesPerRadian);
    return x < 0 ? negate(result) : result;
}

int32_t ORaw::randomInt(MersenneTwister& random, int32_t a, int32_t b)
{
    const int64_t lo = a < b ? a : b;
    const int64_t hi = a < b ? b : a;
    const uint64_t span = static_cast<uint64_t>(hi - lo + 1); // 1 .. 2^32
    return static_cast<int32_t>(lo + static_cast<int64_t>(random.next() % span));
}

int64_t ORaw::randomInRange(MersenneTwister& random, int64_t lo, int64_t hi)
{
    const int64_t span = subtract(hi, lo);
    const int64_t offset = multiply(static_cast<int64_t>(random.next()), span);
    if (offset < 0 || offset > span) throwError(kAssertionFailed);
    const int64_t result = add(lo, offset);
    if (result < lo || result > hi) throwError(kAssertionFailed);
    return result;
}

int64_t ORaw::randomFixed(MersenneTwister& random, int64_t a, int64_t b)
{
    const int64_t lo = a < b ? a : b;
    const int64_t hi = a < b ? b : a;
    const bool spanOverflows =
        static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) > uint64_t(kMax);
    if (lo < 0 && hi >= 0 && spanOverflows) {
        // hi - lo needs 64 unsigned bits: draw one value on each side of zero and pick a side.
        const int64_t below = randomInRange(random, lo, 0);
        const int64_t above = randomInRange(random, 0, hi);
        return (random.next() & 1u) == 0 ? above : below;
    }
    return randomInRange(random, lo, hi);
}

} // namespace zelmo
