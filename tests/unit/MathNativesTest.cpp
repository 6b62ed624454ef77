// SPDX-License-Identifier: MIT
// The Fixed (11) and Float (36) native groups driven directly on a machine: stack layout,
// stack effects, results and the errors each operation raises. The arithmetic itself is
// FixedPointTest's.
#include "NativeCall.h"
#include "Utility/ORaw.h"

#include <bit>
#include <cmath>
#include <string>

using namespace zelmo;

namespace {

constexpr int kFixed = 11, kFloat = 36;

constexpr int64_t fx(double value)
{
    return static_cast<int64_t>(value * 4294967296.0);
}
uint32_t low(int64_t value)
{
    return static_cast<uint32_t>(value);
}
uint32_t high(int64_t value)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32);
}
int32_t floatWord(float value)
{
    return std::bit_cast<int32_t>(value);
}

using Natives = zelmo::testing::NativeCall;

} // namespace

TEST_F(Natives, FixedCompoundAssignments)
{
    struct Case {
        int operation;
        int64_t value, b, result;
    };
    const Case cases[] = {{12, ORaw::kMax, fx(1.0), ORaw::kMax},
                          {13, fx(1.0), fx(0.25), fx(0.75)},
                          {14, fx(-1.5), fx(-2.0), fx(3.0)},
                          {15, fx(1.0), fx(4.0), fx(0.25)},
                          {16, fx(2.0), 0, fx(3.0)}, // increment and decrement take no operand
                          {17, ORaw::kMin, 0, ORaw::kMin}};
    for (const Case& c : cases) {
        const uint32_t address = cell(c.value);
        if (c.operation < 16)
            call(kFixed, c.operation, {77, address, low(c.b), high(c.b)});
        else
            call(kFixed, c.operation, {77, address});
        EXPECT_EQ(stack(), std::vector<int32_t>{77}) << c.operation;
        EXPECT_EQ(vm.memory().load64(address), c.result) << c.operation;
        EXPECT_EQ(c.operation < 16 ? failure(kFixed, c.operation, {0, low(fx(1.0)), 1})
                                   : failure(kFixed, c.operation, {0}),
                  kNullPointer)
            << c.operation;
    }
    const uint32_t address = cell(fx(2.0));
    EXPECT_EQ(failure(kFixed, 15, {address, 0, 0}), kMath);
    EXPECT_EQ(vm.memory().load64(address), fx(2.0));
}

TEST_F(Natives, FloatArithmetic)
{
    call(kFloat, 0, {3, low(fx(-2.5)), high(fx(-2.5))});
    EXPECT_EQ(stack(), (std::vector<int32_t>{3, floatWord(-2.5f)}));

    struct Case {
        int operation;
        float a, b, result;
    };
    const Case cases[] = {
        {1, 1.5f, 2.25f, 3.75f},      {2, 1.0f, 3.0f, -2.0f},    {3, 1.5f, -2.0f, -3.0f},
        {4, 1.0f, 4.0f, 0.25f},       {4, 1.0f, 0.0f, INFINITY}, {4, -1.0f, 0.0f, -INFINITY},
        {1, 0.1f, 0.2f, 0.1f + 0.2f}, // single-precision sum, not the double one
    };
    for (const Case& c : cases) {
        call(kFloat, c.operation, {floatWord(c.a), floatWord(c.b)});
        EXPECT_EQ(stack(), std::vector<int32_t>{floatWord(c.result)}) << c.operation;
    }
    call(kFloat, 4, {floatWord(0.0f), floatWord(0.0f)});
    EXPECT_TRUE(std::isnan(std::bit_cast<float>(vm.arg(0))));
    call(kFloat, 5, {floatWord(2.0f)});
    EXPECT_EQ(stack(), std::vector<int32_t>{floatWord(-2.0f)});

    const Case assignments[] = {{6, 1.5f, 2.0f, 3.5f},
                                {7, 1.5f, 2.0f, -0.5f},
                                {8, 1.5f, 2.0f, 3.0f},
                                {9, 1.5f, 2.0f, 0.75f}};
    for (const Case& c : assignments) {
        const uint32_t address = block({floatWord(c.a)});
        call(kFloat, c.operation, {address, floatWord(c.b)});
        EXPECT_EQ(vm.sp(), -1);
        EXPECT_EQ(static_cast<int32_t>(vm.loadWord(address)), floatWord(c.result)) << c.operation;
    }
    EXPECT_EQ(failure(kFloat, 6, {0, floatWord(1.0f)}), kNullPointer);
}

TEST_F(Natives, FloatToStringFollowsGeneralNotation)
{
    // The notation is printf's %g; one row per way it writes a number.
    const std::pair<float, std::string> cases[] = {
        {0.1f, "0.1"}, {1000000.0f, "1e+06"}, {-2.5f, "-2.5"}, {-INFINITY, "-inf"}};
    for (const auto& [value, expected] : cases) {
        call(kFloat, 10, {floatWord(value)});
        ASSERT_EQ(vm.sp(), 0);
        EXPECT_EQ(text(vm.argU(0)), expected) << value;
    }
}
