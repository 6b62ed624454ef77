// SPDX-License-Identifier: MIT
// The Fixed (11), Math (26) and Float (36) native groups driven directly on a machine: stack
// layout, stack effects, results and the errors each operation raises.
#include "Base/Errors.h"
#include "Utility/MersenneTwister.h"
#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"

#include "ErrorCodeOf.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <string>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

namespace {

constexpr int64_t fx(double value)
{
    return static_cast<int64_t>(value * 4294967296.0);
}
int32_t floatWord(float value)
{
    return std::bit_cast<int32_t>(value);
}

class Natives : public ::testing::Test {
protected:
    void SetUp() override { vm.setSp(-1); }

    void pushFixed(int64_t value)
    {
        vm.pushWord(static_cast<int32_t>(static_cast<uint32_t>(value)));
        vm.pushWord(static_cast<int32_t>(static_cast<uint64_t>(value) >> 32));
    }
    // The fixed value whose high word is `k` words below the top.
    int64_t fixedAt(int k = 0)
    {
        return static_cast<int64_t>((uint64_t{vm.argU(k)} << 32) | vm.argU(k + 1));
    }
    // 8 bytes of heap storage holding a fixed value; returns its address.
    uint32_t newFixed(int64_t value)
    {
        const uint32_t address = vm.heap().allocate(8, 0, GC_CODE_NATIVE);
        vm.memory().store64(address, value);
        return address;
    }
    std::u16string stringAt(int k = 0) { return vm.stringOf(vm.argU(k)).toU16(); }
    // The managed error code the call raises, 0 when it returns normally.
    int32_t fixedOp(int operation)
    {
        return errorCodeOf([&] { vm.fixedNative(operation); });
    }
    int32_t mathOp(int operation)
    {
        return errorCodeOf([&] { vm.mathNative(operation); });
    }
    int32_t floatOp(int operation)
    {
        return errorCodeOf([&] { vm.floatNative(operation); });
    }

    VirtualMachine vm;
};

} // namespace

TEST_F(Natives, FixedConstructors)
{
    const uint32_t cell = newFixed(fx(-7.25));
    vm.pushWord(static_cast<int32_t>(cell));
    ASSERT_EQ(fixedOp(1), 0); // fromReference
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(fixedAt(), fx(-7.25));

    vm.setSp(-1);
    vm.pushWord(0);
    EXPECT_EQ(fixedOp(1), kNullPointer);
    EXPECT_EQ(lastErrorText(), u"NullPointerException: NULL pointer");
    EXPECT_EQ(vm.sp(), 0);

    vm.setSp(-1);
    vm.pushWord(0x1FF); // only the low byte counts: -1
    ASSERT_EQ(fixedOp(2), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(fixedAt(), fx(-1.0));

    vm.setSp(-1);
    vm.pushWord(-1);
    ASSERT_EQ(fixedOp(3), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(static_cast<uint64_t>(fixedAt()), 0xFFFFFFFF00000000u);

    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(vm.newString(OString(u" +-3.25"))));
    ASSERT_EQ(fixedOp(4), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(fixedAt(), fx(-3.25));

    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(vm.newString(OString(u"3."))));
    EXPECT_EQ(fixedOp(4), kDataFormat);
    EXPECT_EQ(lastErrorText(), u"DataFormatException: ");
    vm.setSp(-1);
    vm.pushWord(0);
    EXPECT_EQ(fixedOp(4), kNullPointer);

    vm.setSp(-1);
    ASSERT_EQ(fixedOp(29), 0);
    ASSERT_EQ(fixedOp(30), 0);
    EXPECT_EQ(vm.sp(), 3);
    EXPECT_EQ(fixedAt(0), ORaw::kMax);
    EXPECT_EQ(fixedAt(2), ORaw::kMin);
}

TEST_F(Natives, FixedArithmeticOnTheStack)
{
    struct Case {
        int operation;
        int64_t a, b, result;
    };
    const Case cases[] = {
        {7, ORaw::kMax, fx(1.0), ORaw::kMax},
        {7, fx(1.5), fx(-4.0), fx(-2.5)},
        {8, ORaw::kMin, fx(1.0), ORaw::kMin},
        {8, fx(1.5), fx(-4.0), fx(5.5)},
        {9, fx(2.0), fx(-3.5), fx(-7.0)},
        {9, fx(65536.0), fx(65536.0), ORaw::kMax},
        {10, fx(7.0), fx(-2.0), fx(-3.5)},
        {11, fx(-2.0), fx(3.0), fx(-8.0)},
        {11, fx(3.0), 0, fx(1.0)},
    };
    for (const Case& c : cases) {
        vm.setSp(-1);
        vm.pushWord(12345); // below the arguments: must survive
        pushFixed(c.a);
        pushFixed(c.b);
        ASSERT_EQ(fixedOp(c.operation), 0) << c.operation;
        EXPECT_EQ(vm.sp(), 2) << c.operation;
        EXPECT_EQ(fixedAt(), c.result) << c.operation;
        EXPECT_EQ(vm.arg(2), 12345);
    }

    vm.setSp(-1);
    pushFixed(fx(1.0));
    pushFixed(0);
    EXPECT_EQ(fixedOp(10), kMath);
    EXPECT_EQ(lastErrorText(), u"MathException");
    vm.setSp(-1);
    pushFixed(0);
    pushFixed(fx(-1.0));
    EXPECT_EQ(fixedOp(11), kMath);

    vm.setSp(-1);
    pushFixed(ORaw::kMin);
    ASSERT_EQ(fixedOp(5), 0); // abs
    EXPECT_EQ(fixedAt(), ORaw::kMax);
    ASSERT_EQ(fixedOp(6), 0); // negate
    EXPECT_EQ(fixedAt(), ORaw::kMin);
    EXPECT_EQ(vm.sp(), 1);
}

TEST_F(Natives, FixedCompoundAssignments)
{
    struct Case {
        int operation;
        int64_t value, b, result;
    };
    const Case cases[] = {
        {12, ORaw::kMax, fx(1.0), ORaw::kMax},
        {13, fx(1.0), fx(0.25), fx(0.75)},
        {14, fx(-1.5), fx(-2.0), fx(3.0)},
        {15, fx(1.0), fx(4.0), fx(0.25)},
    };
    for (const Case& c : cases) {
        const uint32_t cell = newFixed(c.value);
        vm.setSp(-1);
        vm.pushWord(77);
        vm.pushWord(static_cast<int32_t>(cell));
        pushFixed(c.b);
        ASSERT_EQ(fixedOp(c.operation), 0) << c.operation;
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), 77);
        EXPECT_EQ(vm.memory().load64(cell), c.result) << c.operation;
    }

    const uint32_t cell = newFixed(fx(2.0));
    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(cell));
    pushFixed(0);
    EXPECT_EQ(fixedOp(15), kMath);
    EXPECT_EQ(vm.memory().load64(cell), fx(2.0));

    for (int operation : {12, 13, 14, 15}) {
        vm.setSp(-1);
        vm.pushWord(0);
        pushFixed(fx(1.0));
        EXPECT_EQ(fixedOp(operation), kNullPointer) << operation;
    }

    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(cell));
    ASSERT_EQ(fixedOp(16), 0); // increment
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(vm.memory().load64(cell), fx(3.0));
    vm.memory().store64(cell, ORaw::kMin);
    vm.pushWord(static_cast<int32_t>(cell));
    ASSERT_EQ(fixedOp(17), 0); // decrement saturates
    EXPECT_EQ(vm.memory().load64(cell), ORaw::kMin);
    for (int operation : {16, 17}) {
        vm.setSp(-1);
        vm.pushWord(0);
        EXPECT_EQ(fixedOp(operation), kNullPointer) << operation;
    }
}

TEST_F(Natives, FixedComparisonsGiveOneOrZero)
{
    // Equal high words: the low words compare unsigned.
    const int64_t bigLow = (int64_t{1} << 32) | 0x80000000;
    const int64_t smallLow = (int64_t{1} << 32) | 1;
    struct Case {
        int operation;
        int64_t a, b;
        int32_t result;
    };
    const Case cases[] = {
        {18, fx(1.5), fx(1.5), 1},  {18, fx(1.5), fx(-1.5), 0},
        {19, fx(1.5), fx(-1.5), 1}, {19, 5, 5, 0},
        {20, smallLow, bigLow, 1},  {20, bigLow, smallLow, 0},
        {20, fx(-1.0), 0, 1},       {21, bigLow, bigLow, 1},
        {21, bigLow, smallLow, 0},  {22, bigLow, smallLow, 1},
        {22, ORaw::kMin, fx(0), 0}, {23, fx(2.0), fx(2.0), 1},
        {23, fx(-2.0), fx(2.0), 0},
    };
    for (const Case& c : cases) {
        vm.setSp(-1);
        pushFixed(c.a);
        pushFixed(c.b);
        ASSERT_EQ(fixedOp(c.operation), 0);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), c.result) << c.operation << " " << c.a << " " << c.b;
    }
}

TEST_F(Natives, FixedFormattingAndRounding)
{
    const uint32_t cell = newFixed(fx(2.999) + 1);
    vm.pushWord(5);
    vm.pushWord(static_cast<int32_t>(cell));
    vm.pushWord(2);
    ASSERT_EQ(fixedOp(24), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(stringAt(), u"3.00");
    EXPECT_EQ(vm.arg(1), 5);

    vm.memory().store64(cell, fx(0.5));
    vm.arg(0) = static_cast<int32_t>(cell);
    vm.pushWord(0);
    ASSERT_EQ(fixedOp(24), 0);
    EXPECT_EQ(stringAt(), u"1");

    vm.arg(0) = static_cast<int32_t>(cell);
    vm.pushWord(-2);
    EXPECT_EQ(fixedOp(24), kInvalidArgument);
    vm.setSp(-1);
    vm.pushWord(0);
    vm.pushWord(2);
    EXPECT_EQ(fixedOp(24), kNullPointer);

    vm.setSp(-1);
    vm.memory().store64(cell, fx(-1.5));
    vm.pushWord(static_cast<int32_t>(cell));
    ASSERT_EQ(fixedOp(25), 0);
    EXPECT_EQ(vm.sp(), 0);
    EXPECT_EQ(stringAt(), u"-1.5");
    vm.arg(0) = 0;
    EXPECT_EQ(fixedOp(25), kNullPointer);

    struct Case {
        int operation;
        int64_t x;
        int32_t result;
    };
    const Case cases[] = {
        {26, fx(2.5), 3},
        {26, fx(-2.5), -3},
        {26, fx(-2.4), -2},
        {26, ORaw::kMax, INT32_MAX},
        {27, fx(-0.5), 0},
        {27, fx(1.25), 2},
        {27, ORaw::kMax, INT32_MAX},
        {28, fx(-0.5), -1},
        {28, fx(1.75), 1},
    };
    for (const Case& c : cases) {
        vm.setSp(-1);
        pushFixed(c.x);
        ASSERT_EQ(fixedOp(c.operation), 0);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), c.result) << c.operation << " " << c.x;
    }
}

TEST_F(Natives, UnknownOperationsNameTheGroup)
{
    for (int operation : {0, 31, 200}) {
        EXPECT_EQ(fixedOp(operation), kVMException);
        EXPECT_EQ(lastErrorText().substr(0, 19), u"VMException: Fixed:");
    }
    for (int operation : {0, 23}) {
        EXPECT_EQ(mathOp(operation), kVMException);
        EXPECT_EQ(lastErrorText().substr(0, 18), u"VMException: Math:");
    }
    EXPECT_EQ(floatOp(11), kVMException);
    EXPECT_EQ(lastErrorText(), u"VMException: Float: invalid opcode: 11");
    EXPECT_EQ(floatOp(-1), kVMException);
    EXPECT_EQ(lastErrorText(), u"VMException: Float: invalid opcode: -1");
}

TEST_F(Natives, MathFunctionsReplaceTheirArgument)
{
    const int64_t perRadian = (int64_t{57} << 32) + 1270363335;
    struct Case {
        int operation;
        int64_t x, result;
        int64_t tolerance;
    };
    const Case cases[] = {
        {1, 0, 0, 0},
        {1, ORaw::kPi / 2, ORaw::kOne, 8},
        {2, 0, ORaw::kOne, 0},
        {3, ORaw::kPi / 4, ORaw::kOne, 8},
        {4, ORaw::kOne, ORaw::kPi / 2, 8},
        {5, ORaw::kOne, 0, 0},
        {6, ORaw::kOne, ORaw::kPi / 4, 8},
        {7, ORaw::kOne, perRadian, 0},
        {8, fx(180.0), 180 * int64_t{74961320}, 0},
        {9, fx(2.25), fx(1.5), 0},
        {11, fx(1.0), 0, 0},
    };
    for (const Case& c : cases) {
        vm.setSp(-1);
        vm.pushWord(9);
        pushFixed(c.x);
        ASSERT_EQ(mathOp(c.operation), 0) << c.operation;
        EXPECT_EQ(vm.sp(), 2);
        EXPECT_NEAR(fixedAt(), c.result, c.tolerance) << c.operation;
        EXPECT_EQ(vm.arg(2), 9);
    }

    const std::pair<int, int64_t> failures[] = {
        {3, ORaw::kPi / 2}, {4, fx(1.0) + 1}, {5, fx(-2.0)}, {7, fx(7.0)},
        {8, fx(361.0)},     {9, -1},          {11, 0},       {11, fx(-1.0)},
    };
    for (const auto& [operation, x] : failures) {
        vm.setSp(-1);
        pushFixed(x);
        EXPECT_EQ(mathOp(operation), kMath) << operation << " " << x;
    }

    vm.setSp(-1);
    pushFixed(fx(8.0));
    pushFixed(fx(2.0));
    ASSERT_EQ(mathOp(10), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_NEAR(fixedAt(), fx(3.0), 64);
    vm.setSp(-1);
    pushFixed(fx(5.0));
    pushFixed(fx(5.0));
    ASSERT_EQ(mathOp(10), 0);
    EXPECT_EQ(fixedAt(), fx(1.0));
    vm.setSp(-1);
    pushFixed(fx(5.0));
    pushFixed(fx(1.0));
    EXPECT_EQ(mathOp(10), kMath);
}

TEST_F(Natives, MathMinimumMaximumAndConstants)
{
    struct Case {
        int operation;
        int32_t a, b, result;
    };
    const Case ints[] = {
        {14, 0x17F, 0x80, -128}, {17, 0xFF, 0x01, 1}, {17, 0x7F, 0x180, 127},
        {15, -5, 3, -5},         {18, -5, 3, 3},      {15, INT32_MIN, INT32_MAX, INT32_MIN},
    };
    for (const Case& c : ints) {
        vm.setSp(-1);
        vm.pushWord(c.a);
        vm.pushWord(c.b);
        ASSERT_EQ(mathOp(c.operation), 0);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), c.result) << c.operation;
    }

    const int64_t bigLow = (int64_t{1} << 32) | 0x80000000;
    const int64_t smallLow = (int64_t{1} << 32) | 1;
    for (auto [operation, result] : {std::pair{16, smallLow}, std::pair{19, bigLow}}) {
        vm.setSp(-1);
        pushFixed(bigLow);
        pushFixed(smallLow);
        ASSERT_EQ(mathOp(operation), 0);
        EXPECT_EQ(vm.sp(), 1);
        EXPECT_EQ(fixedAt(), result) << operation;
    }

    vm.setSp(-1);
    ASSERT_EQ(mathOp(20), 0);
    ASSERT_EQ(mathOp(21), 0);
    ASSERT_EQ(mathOp(22), 0);
    EXPECT_EQ(vm.sp(), 5);
    EXPECT_EQ(fixedAt(0), 1);
    EXPECT_EQ(fixedAt(2), (int64_t{3} << 32) + 608135817);
    EXPECT_EQ(fixedAt(4), (int64_t{2} << 32) + 0xB7E15163);
}

TEST_F(Natives, MathRandomNumbersUseTheMachinesGenerator)
{
    vm.random().seed(5489);
    MersenneTwister twin(5489);
    for (int i = 0; i < 700; ++i) { // crosses the first regeneration
        vm.setSp(-1);
        vm.pushWord(5);
        vm.pushWord(1);
        ASSERT_EQ(mathOp(12), 0);
        ASSERT_EQ(vm.sp(), 0);
        ASSERT_EQ(vm.arg(0), 1 + static_cast<int32_t>(twin.next() % 5));
    }

    for (int i = 0; i < 50; ++i) {
        vm.setSp(-1);
        pushFixed(fx(10.0));
        pushFixed(fx(-10.0));
        ASSERT_EQ(mathOp(13), 0);
        ASSERT_EQ(vm.sp(), 1);
        ASSERT_EQ(fixedAt(), ORaw::randomFixed(twin, fx(-10.0), fx(10.0)));
        ASSERT_GE(fixedAt(), fx(-10.0));
        ASSERT_LE(fixedAt(), fx(10.0));
    }
}

TEST_F(Natives, FloatArithmetic)
{
    vm.pushWord(3);
    pushFixed(fx(-2.5));
    ASSERT_EQ(floatOp(0), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(vm.arg(0), floatWord(-2.5f));
    EXPECT_EQ(vm.arg(1), 3);

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
        vm.setSp(-1);
        vm.pushWord(floatWord(c.a));
        vm.pushWord(floatWord(c.b));
        ASSERT_EQ(floatOp(c.operation), 0);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), floatWord(c.result)) << c.operation;
    }
    vm.setSp(-1);
    vm.pushWord(floatWord(0.0f));
    vm.pushWord(floatWord(0.0f));
    ASSERT_EQ(floatOp(4), 0);
    EXPECT_TRUE(std::isnan(std::bit_cast<float>(vm.arg(0))));

    vm.setSp(-1);
    vm.pushWord(floatWord(2.0f));
    ASSERT_EQ(floatOp(5), 0);
    EXPECT_EQ(vm.arg(0), floatWord(-2.0f));

    const uint32_t cell = vm.heap().allocate(4, 0, GC_CODE_NATIVE);
    const Case assignments[] = {{6, 1.5f, 2.0f, 3.5f},
                                {7, 1.5f, 2.0f, -0.5f},
                                {8, 1.5f, 2.0f, 3.0f},
                                {9, 1.5f, 2.0f, 0.75f}};
    for (const Case& c : assignments) {
        vm.storeWord(cell, static_cast<uint32_t>(floatWord(c.a)));
        vm.setSp(-1);
        vm.pushWord(static_cast<int32_t>(cell));
        vm.pushWord(floatWord(c.b));
        ASSERT_EQ(floatOp(c.operation), 0);
        EXPECT_EQ(vm.sp(), -1);
        EXPECT_EQ(static_cast<int32_t>(vm.loadWord(cell)), floatWord(c.result)) << c.operation;
    }
    vm.pushWord(0);
    vm.pushWord(floatWord(1.0f));
    EXPECT_EQ(floatOp(6), kNullPointer);
}

TEST_F(Natives, FloatToStringFollowsGeneralNotation)
{
    const std::pair<float, std::u16string> cases[] = {
        {1.0f, u"1"},
        {0.1f, u"0.1"},
        {1000000.0f, u"1e+06"},
        {999999.0f, u"999999"},
        {123456789.0f, u"1.23457e+08"},
        {0.0001f, u"0.0001"},
        {0.00001f, u"1e-05"},
        {-2.5f, u"-2.5"},
        {0.0f, u"0"},
        {1e-30f, u"1e-30"},
        {INFINITY, u"inf"},
        {-INFINITY, u"-inf"},
    };
    for (const auto& [value, expected] : cases) {
        vm.setSp(-1);
        vm.pushWord(floatWord(value));
        ASSERT_EQ(floatOp(10), 0);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(stringAt(), expected) << value;
    }
}
