// SPDX-License-Identifier: MIT
// The fixed-point library (ORaw) and the MT19937 generator, without a machine.
#include "Base/Errors.h"
#include "Utility/MersenneTwister.h"
#include "Utility/ORaw.h"

#include "ErrorCodeOf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

namespace {

// Raw value of a number that is exact in binary (independent of ORaw::toFixed).
constexpr int64_t fx(double value)
{
    return static_cast<int64_t>(value * 4294967296.0);
}

std::string text(int64_t x, int decimals = -1)
{
    const std::u16string t = ORaw::toString(x, decimals);
    return std::string(t.begin(), t.end());
}

int64_t parse(const char16_t* t)
{
    return ORaw::parse(t);
}

} // namespace

TEST(ORaw, ConversionsAndConstants)
{
    EXPECT_EQ(static_cast<uint64_t>(ORaw::fromInt(-1)), 0xFFFFFFFF00000000u);
    EXPECT_EQ(ORaw::fromInt(INT32_MIN), ORaw::kMin);
    EXPECT_DOUBLE_EQ(ORaw::toDouble(fx(-2.75)), -2.75);
    EXPECT_NEAR(ORaw::toDouble(ORaw::kPi), M_PI, 1e-9);
    EXPECT_NEAR(ORaw::toDouble(ORaw::kE), M_E, 1e-9);

    EXPECT_EQ(ORaw::toFixed(1.5), fx(1.5));
    EXPECT_EQ(ORaw::toFixed(-1e-12), 0); // truncates toward zero
    EXPECT_EQ(ORaw::toFixed(-2147483648.0), ORaw::kMin);
    EXPECT_EQ(ORaw::toFixed(2147483648.0), ORaw::kMax);
    EXPECT_EQ(ORaw::toFixed(INFINITY), ORaw::kMax);
    EXPECT_EQ(ORaw::toFixed(2147483647.5), fx(2147483647.5));
    EXPECT_EQ(errorCodeOf([] { ORaw::toFixed(NAN); }), kMath);
    EXPECT_EQ(lastErrorText(), u"MathException");
}

TEST(ORaw, SaturatingAddSubtractNegate)
{
    const int64_t one = ORaw::kOne;
    EXPECT_EQ(ORaw::add(ORaw::kMax, one), ORaw::kMax);
    EXPECT_EQ(ORaw::add(ORaw::kMin, -one), ORaw::kMin);
    EXPECT_EQ(ORaw::add(ORaw::kMin, ORaw::kMax), -1);
    EXPECT_EQ(ORaw::add(fx(1.25), fx(-3.5)), fx(-2.25));
    EXPECT_EQ(ORaw::subtract(ORaw::kMin, one), ORaw::kMin);
    EXPECT_EQ(ORaw::subtract(-one, ORaw::kMax), ORaw::kMin);
    EXPECT_EQ(ORaw::subtract(0, ORaw::kMin), ORaw::kMax);
    EXPECT_EQ(ORaw::subtract(ORaw::kMax, -one), ORaw::kMax);
    EXPECT_EQ(ORaw::subtract(fx(1.0), fx(3.5)), fx(-2.5));
    EXPECT_EQ(ORaw::negate(ORaw::kMax), ORaw::kMin);
    EXPECT_EQ(ORaw::negate(ORaw::kMin), ORaw::kMax);
    EXPECT_EQ(ORaw::negate(fx(2.5)), fx(-2.5));
    EXPECT_EQ(ORaw::abs(ORaw::kMin), ORaw::kMax);
    EXPECT_EQ(ORaw::abs(fx(-0.5)), fx(0.5));
}

TEST(ORaw, MultiplyIsExactAndSaturates)
{
    EXPECT_EQ(ORaw::multiply(fx(2.0), fx(-3.5)), fx(-7.0));
    EXPECT_EQ(ORaw::multiply(fx(65536.0), fx(65536.0)), ORaw::kMax);
    EXPECT_EQ(ORaw::multiply(fx(-65536.0), fx(65536.0)), ORaw::kMin);
    EXPECT_EQ(ORaw::multiply(fx(-65536.0), fx(-65536.0)), ORaw::kMax);
    EXPECT_EQ(ORaw::multiply(fx(46340.0), fx(46340.0)), fx(2147395600.0));
    // floor of the magnitude: 3 * 2^-32 times one half is 1.5 units, so 1; negative: -1.
    EXPECT_EQ(ORaw::multiply(3, fx(0.5)), 1);
    EXPECT_EQ(ORaw::multiply(-3, fx(0.5)), -1);
    EXPECT_EQ(ORaw::multiply(ORaw::kEpsilon, ORaw::kEpsilon), 0);
    // Cross products of both words matter: (1 + 2^-32)^2 = 1 + 2^-31 + 2^-64.
    EXPECT_EQ(ORaw::multiply(ORaw::kOne + 1, ORaw::kOne + 1), ORaw::kOne + 2);
    EXPECT_EQ(ORaw::multiply(ORaw::kMin, ORaw::kOne), -ORaw::kMax); // |MIN| saturates first
    EXPECT_EQ(ORaw::multiply(ORaw::kMax, 0), 0);
}

TEST(ORaw, RoundingToInt)
{
    EXPECT_EQ(ORaw::round(fx(2.5)), 3);
    EXPECT_EQ(ORaw::round(fx(-2.5)), -3);
    EXPECT_EQ(ORaw::round(fx(-2.4)), -2);
    EXPECT_EQ(ORaw::round(fx(-0.5)), -1);
    EXPECT_EQ(ORaw::round(ORaw::kMax), INT32_MAX);
    EXPECT_EQ(ORaw::round(ORaw::kMin), INT32_MIN);
    EXPECT_EQ(ORaw::round(fx(2147483646.5)), INT32_MAX);
    // Near the bottom of the range the nearest integer is still representable.
    EXPECT_EQ(ORaw::round(fx(-2147483647.25)), -2147483647);
    EXPECT_EQ(ORaw::round(fx(-2147483647.75)), INT32_MIN);

    EXPECT_EQ(ORaw::floor(fx(-0.5)), -1);
    EXPECT_EQ(ORaw::ceil(fx(-0.5)), 0);
    EXPECT_EQ(ORaw::ceil(fx(2.0)), 2);
    EXPECT_EQ(ORaw::ceil(fx(2.0) + 1), 3);
    EXPECT_EQ(ORaw::ceil(ORaw::kMax), INT32_MAX);
    EXPECT_EQ(ORaw::floor(ORaw::kMin), INT32_MIN);
}

TEST(ORaw, Parse)
{
    EXPECT_EQ(parse(u" +-3.25"), fx(-3.25));
    EXPECT_EQ(parse(u"\t\n ++7"), fx(7.0));
    EXPECT_EQ(parse(u"\u30004"), fx(4.0)); // ideographic space is white space too
    EXPECT_EQ(parse(u"12abc"), fx(12.0));
    EXPECT_EQ(parse(u"1.5e3"), fx(1.5));
    EXPECT_EQ(parse(u"0.1"), 429496729); // floor(0.1 * 2^32)
    EXPECT_EQ(parse(u"-0.5"), fx(-0.5));
    EXPECT_EQ(parse(u"2147483647"), fx(2147483647.0));
    EXPECT_EQ(parse(u"99999999999"), ORaw::kMax);
    EXPECT_EQ(parse(u"-99999999999.5"), ORaw::kMin);
    // Ten fraction digits would pass 2^32 - 1: only nine are taken, floor(999999999 * 2^32 / 10^9).
    EXPECT_EQ(parse(u"0.99999999999999"), 4294967291);
    EXPECT_EQ(parse(u"0.4294967295"), 1844674406);
    // A long run of zeros must not overflow the power of ten.
    EXPECT_EQ(parse(u"0.000000000000000000000000000001"), 0);
    const std::u16string manyZeros = u"1." + std::u16string(70, u'0'); // 10^70 wraps to 0
    EXPECT_EQ(ORaw::parse(manyZeros), fx(1.0));

    for (const char16_t* bad : {u"", u"   ", u"-", u"+", u"3.", u".5", u"-+5", u"abc", u"3.x",
                                u"\u0663"}) // a non-ASCII digit is not a digit here
        EXPECT_EQ(errorCodeOf([bad] { ORaw::parse(bad); }), kDataFormat)
            << "input: " << toUtf8(bad);
    EXPECT_EQ(lastErrorText(), u"DataFormatException: ");
}

TEST(ORaw, FormatWithDecimalsRoundsHalfUp)
{
    EXPECT_EQ(text(parse(u"2.999"), 2), "3.00");
    EXPECT_EQ(text(fx(0.5), 0), "1");
    EXPECT_EQ(text(fx(0.125), 2), "0.13");
    EXPECT_EQ(text(fx(-0.5), 0), "-1");
    EXPECT_EQ(text(fx(9.96875), 1), "10.0");
    EXPECT_EQ(text(fx(-0.0001220703125), 2), "-0.00");
    EXPECT_EQ(text(ORaw::kMax, 2), "2147483647.99");
    // The negative range reaches -2147483648, so the carry may reach it.
    EXPECT_EQ(text(fx(-2147483647.75), 0), "-2147483648");
    EXPECT_EQ(text(ORaw::kMin, 3), "-2147483648.000");
    EXPECT_EQ(text(fx(1.5), 40), "1.5" + std::string(39, '0'));

    EXPECT_EQ(errorCodeOf([] { ORaw::toString(fx(1.0), -2); }), kInvalidArgument);
    EXPECT_EQ(lastErrorText(), u"InvalidArgumentException");
    EXPECT_EQ(errorCodeOf([] { ORaw::toString(fx(1.0), INT32_MAX); }), kInvalidArgument);
    EXPECT_EQ(text(fx(1.0), ORaw::kMaxDecimals).size(), 2u + ORaw::kMaxDecimals);
}

TEST(ORaw, Pow)
{
    EXPECT_EQ(ORaw::pow(fx(5.5), 0), ORaw::kOne);
    EXPECT_EQ(ORaw::pow(0, 0), ORaw::kOne);
    EXPECT_EQ(ORaw::pow(0, fx(2.0)), 0);
    EXPECT_EQ(errorCodeOf([] { ORaw::pow(0, fx(-1.0)); }), kMath);
    EXPECT_EQ(ORaw::pow(fx(-2.0), fx(3.0)), fx(-8.0));
    EXPECT_EQ(ORaw::pow(fx(-2.0), fx(2.0)), fx(4.0));
    EXPECT_EQ(ORaw::pow(fx(-2.0), fx(-3.0)), fx(-0.125));
    EXPECT_EQ(ORaw::pow(fx(2.0), fx(-2.0)), fx(0.25));
    EXPECT_EQ(errorCodeOf([] { ORaw::pow(fx(-2.0), fx(0.5)); }), kMath);
    EXPECT_EQ(ORaw::pow(fx(4.0), fx(0.5)), fx(2.0));
    EXPECT_EQ(ORaw::pow(fx(2.0), fx(40.0)), ORaw::kMax);
    EXPECT_EQ(ORaw::pow(fx(-2.0), fx(41.0)), ORaw::kMin);
    // The double result underflows to zero: the value is 0, or saturates once inverted.
    const int64_t tiny = parse(u"0.001");
    EXPECT_EQ(ORaw::pow(tiny, fx(1000.0)), 0);
    EXPECT_EQ(ORaw::pow(tiny, fx(-1000.0)), ORaw::kMax);
    EXPECT_EQ(ORaw::pow(-tiny, fx(-1001.0)), ORaw::kMin);
    // And overflows to infinity: inverted, it vanishes.
    EXPECT_EQ(ORaw::pow(fx(1000.0), fx(-1000.0)), 0);
}

TEST(ORaw, TrigonometryAndLogarithms)
{
    const int64_t close = 8; // raw units: the double round trip truncates
    EXPECT_EQ(ORaw::sin(0), 0);
    EXPECT_NEAR(ORaw::sin(ORaw::kPi / 2), ORaw::kOne, close);
    EXPECT_EQ(ORaw::cos(0), ORaw::kOne);
    EXPECT_NEAR(ORaw::tan(fx(1.0)), ORaw::toFixed(std::tan(1.0)), close);
    EXPECT_EQ(errorCodeOf([] { ORaw::tan(ORaw::kPi / 2); }), kMath); // saturates
    EXPECT_NEAR(ORaw::asin(-ORaw::kOne), -ORaw::kPi / 2, close);
    EXPECT_NEAR(ORaw::acos(-ORaw::kOne), ORaw::kPi, close);
    EXPECT_EQ(errorCodeOf([] { ORaw::asin(ORaw::kOne + 1); }), kMath);
    EXPECT_EQ(errorCodeOf([] { ORaw::acos(-ORaw::kOne - 1); }), kMath);
    EXPECT_NEAR(ORaw::atan(ORaw::kOne), ORaw::kPi / 4, close);
    EXPECT_EQ(ORaw::sqrt(fx(4.0)), fx(2.0));
    EXPECT_EQ(ORaw::sqrt(0), 0);
    EXPECT_EQ(errorCodeOf([] { ORaw::sqrt(-1); }), kMath);
    EXPECT_NEAR(ORaw::ln(ORaw::kE), ORaw::kOne, close);
    EXPECT_EQ(errorCodeOf([] { ORaw::ln(0); }), kMath);
    EXPECT_EQ(errorCodeOf([] { ORaw::ln(fx(-1.0)); }), kMath);

    EXPECT_NEAR(ORaw::log(fx(8.0), fx(2.0)), fx(3.0), 64);
    EXPECT_EQ(ORaw::log(fx(5.0), fx(5.0)), ORaw::kOne);
    EXPECT_EQ(ORaw::log(fx(-5.0), fx(-5.0)), ORaw::kOne); // equal arguments short-cut
    EXPECT_NEAR(ORaw::log(fx(0.25), fx(2.0)), fx(-2.0), 64);
    for (int64_t base : {int64_t{0}, ORaw::kOne, -ORaw::kOne, fx(-2.0)})
        EXPECT_EQ(errorCodeOf([base] { ORaw::log(fx(5.0), base); }), kMath) << base;
    EXPECT_EQ(errorCodeOf([] { ORaw::log(fx(-5.0), fx(2.0)); }), kMath);
    EXPECT_EQ(errorCodeOf([] { ORaw::log(0, fx(2.0)); }), kMath);
}

namespace {
// The reference generator's own seeding (init_genrand), for comparison with published outputs.
MersenneTwister::State referenceSeed(uint32_t seed)
{
    MersenneTwister::State state;
    state[0] = seed;
    for (uint32_t i = 1; i < 624; ++i)
        state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
    return state;
}
} // namespace

TEST(MersenneTwister, MatchesTheReferenceGenerator)
{
    MersenneTwister random(0);
    random.setState(referenceSeed(5489), 624);
    std::mt19937 reference(5489);
    EXPECT_EQ(random.next(), 3499211612u);
    reference();
    for (int i = 2; i < 10000; ++i)
        ASSERT_EQ(random.next(), reference()) << "output " << i;
    EXPECT_EQ(random.next(), 4123659995u); // the 10000th output
}
