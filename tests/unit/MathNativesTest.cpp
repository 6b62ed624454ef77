// SPDX-License-Identifier: MIT
// The Fixed (11) and Float (36) native groups driven directly on a machine: stack layout,
// stack effects, results and the errors each operation raises. The arithmetic itself is
// FixedPointTest's.
#include "Base/Errors.h"
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
    int32_t floatOp(int operation)
    {
        return errorCodeOf([&] { vm.floatNative(operation); });
    }

    VirtualMachine vm;
};

} // namespace

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
