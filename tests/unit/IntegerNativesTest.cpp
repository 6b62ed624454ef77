// SPDX-License-Identifier: MIT
// The Byte, Number, Char and Long groups driven through the native dispatcher: results, stack
// effects, the corner cases of abs, radix and decimal text, long division, comparisons and
// bit operations.
#include "NativeCall.h"
#include "VirtualMachine/natives/IntegerArithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

constexpr int kByte = 9, kChar = 10, kLong = 12, kNumber = 27;
constexpr int64_t kMinLong = std::numeric_limits<int64_t>::min();
constexpr int64_t kMaxLong = std::numeric_limits<int64_t>::max();

class IntegerNativesTest : public zelmo::testing::NativeCall {
protected:
    GuestMemory& mem = vm.memory();

    // The long a result slot points to (a new cell, never one of the operands).
    int64_t longAt(int32_t slot) { return mem.load64(static_cast<uint32_t>(slot)); }
    // A two-operand value form: the new long's value; checks it is a fresh GC_CODE_NATIVE cell.
    int64_t binary(int op, int64_t a, int64_t b)
    {
        const uint32_t ca = cell(a), cb = cell(b);
        call(kLong, op, {ca, cb});
        EXPECT_EQ(vm.sp(), 0);
        const uint32_t result = vm.argU(0);
        EXPECT_NE(result, ca);
        EXPECT_NE(result, cb);
        EXPECT_EQ(vm.heap().entryOf(result)->gcCode, GC_CODE_NATIVE);
        EXPECT_EQ(mem.load64(ca), a); // operands untouched
        return mem.load64(result);
    }
    // A compound assignment: the value written through the first address.
    int64_t assigned(int op, int64_t a, int64_t b)
    {
        const uint32_t ca = cell(a), cb = cell(b);
        call(kLong, op, {7, ca, cb});
        EXPECT_EQ(stack(), std::vector<int32_t>{7}); // both operands popped
        return mem.load64(ca);
    }
};

TEST_F(IntegerNativesTest, NumberAndCharCornerCases)
{
    // absByte looks at the low byte only; a positive low byte leaves the whole word.
    const struct {
        int32_t in, out;
    } bytes[] = {{0x1ff, 1}, {256, 0}, {0x180, 128}, {-0x100 + 5, -0x100 + 5}};
    for (const auto& row : bytes) {
        call(kNumber, 1, {9, row.in});
        EXPECT_EQ(stack(), (std::vector<int32_t>{9, row.out})) << row.in;
    }
    call(kNumber, 2, {-7});
    EXPECT_EQ(stack(), (std::vector<int32_t>{7}));
    const struct {
        int64_t value, radix;
        const char* text;
    } radix[] = {{-2147483648LL, 10, "2147483648"}, {35, 36, "z"}, {10, -16, ""}};
    for (const auto& row : radix) {
        call(kNumber, 3, {9, row.value, row.radix});
        ASSERT_EQ(vm.sp(), 1);
        EXPECT_EQ(vm.arg(1), 9);
        EXPECT_EQ(text(vm.argU(0)), row.text) << row.value << " " << row.radix;
    }

    const struct {
        int op;
        int32_t in, out;
    } chars[] = {
        {4, 0xd800, 0xd800},           // a lone surrogate maps to itself
        {7, u'\u2003', 1},             // em space
        {3, -1 - 0xffff + u'B', u'b'}, // only the low 16 bits are the character
        {5, 0x10000 + u'5', 0},
    };
    for (const auto& row : chars) {
        call(kChar, row.op, {row.in});
        EXPECT_EQ(stack(), (std::vector<int32_t>{row.out})) << row.op << " " << row.in;
    }
    call(kChar, 8, {0x100fc});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.stringOf(vm.argU(0)).toU16(), u"\u00fc");

    for (int group : {kByte, kNumber, kChar}) {
        const std::string prefix = group == kByte     ? "Byte:"
                                   : group == kNumber ? "Number:"
                                                      : "Char:";
        for (int op : {0, 10, 127, -128}) {
            EXPECT_EQ(failure(group, op, {1, 2}), kVMException) << group << " " << op;
            EXPECT_EQ(errorText(), "VMException: " + prefix + std::to_string(vm.pc()));
        }
    }
}

TEST_F(IntegerNativesTest, LongArithmeticWrapsAndDividesSoundly)
{
    EXPECT_EQ(binary(5, kMaxLong, 1), kMinLong); // no saturation
    EXPECT_EQ(binary(5, 0x00000001ffffffffLL, 1), 0x0000000200000000LL);
    EXPECT_EQ(binary(6, kMinLong, 1), kMaxLong);
    EXPECT_EQ(binary(7, 0x100000001LL, 0x100000001LL), 0x200000001LL);
    EXPECT_EQ(binary(7, kMaxLong, 3), wrapMultiply(kMaxLong, 3));
    EXPECT_EQ(binary(8, -7, 2), -3); // truncates toward zero
    EXPECT_EQ(binary(9, -7, 2), -1); // the sign of the dividend
    EXPECT_EQ(binary(9, 7, -2), 1);
    EXPECT_EQ(binary(8, kMinLong, -1), kMinLong);
    EXPECT_EQ(binary(9, kMinLong, -1), 0);
    EXPECT_EQ(binary(8, 5000000000LL, 1000), 5000000);
    EXPECT_EQ(assigned(13, kMaxLong, 2), kMinLong + 1);
    EXPECT_EQ(assigned(14, 10, 20), -10);
    EXPECT_EQ(assigned(15, -3, 0x100000000LL), -0x300000000LL);
    EXPECT_EQ(assigned(16, 100, -7), -14);
    EXPECT_EQ(assigned(17, 100, -7), 2);
    EXPECT_EQ(assigned(16, kMinLong, -1), kMinLong);
    EXPECT_EQ(assigned(17, kMinLong, -1), 0);

    // Division by zero in every form, before any result is made or written.
    for (int op : {8, 9}) {
        const uint32_t a = cell(5), zero = cell(0);
        EXPECT_EQ(failure(kLong, op, {a, zero}), kDivisionByZero);
        EXPECT_EQ(errorText(), "DivisionByZeroException: Division by zero.");
        EXPECT_EQ(stack(), (std::vector<int32_t>{int32_t(a), int32_t(zero)}));
    }
    for (int op : {16, 17}) {
        const uint32_t a = cell(5), zero = cell(0);
        EXPECT_EQ(failure(kLong, op, {a, zero}), kDivisionByZero);
        EXPECT_EQ(mem.load64(a), 5);
    }

    // Long op 10 reads the slot below the top and overwrites the top.
    const uint32_t n = cell(42);
    call(kLong, 10, {n, 99});
    ASSERT_EQ(vm.sp(), 1);
    EXPECT_EQ(vm.arg(1), int32_t(n));
    EXPECT_EQ(longAt(vm.arg(0)), -42);
    call(kLong, 10, {cell(kMinLong), 0});
    EXPECT_EQ(longAt(vm.arg(0)), kMinLong);

    const uint32_t c = cell(kMaxLong);
    call(kLong, 11, {c});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(mem.load64(c), kMinLong);
    call(kLong, 12, {c});
    EXPECT_EQ(mem.load64(c), kMaxLong);
    call(kLong, 1, {c});
    EXPECT_EQ(mem.load64(c), 0);
    for (int op : {2, 3}) {
        const uint32_t target = cell(1);
        call(kLong, op, {target, cell(-5)});
        EXPECT_EQ(vm.sp(), -1);
        EXPECT_EQ(mem.load64(target), -5);
    }
}

TEST_F(IntegerNativesTest, LongComparisonsAndBitOperations)
{
    const struct {
        int64_t a, b;
        int32_t eq, lt, le, ne, gt, ge;
    } rows[] = {
        {1, 1, 1, 0, 1, 0, 0, 1},
        {-1, 1, 0, 1, 1, 1, 0, 0},
        {0x100000000LL, 0xffffffffLL, 0, 0, 0, 1, 1, 1}, // high words decide
        {0x80000000LL, 0x7fffffffLL, 0, 0, 0, 1, 1, 1},  // low words compare unsigned
        {kMinLong, kMaxLong, 0, 1, 1, 1, 0, 0},
    };
    for (const auto& row : rows) {
        const int32_t expected[] = {row.eq, row.lt, row.le, row.ne, row.gt, row.ge};
        for (int op = 18; op <= 23; ++op) {
            call(kLong, op, {cell(row.a), cell(row.b)});
            EXPECT_EQ(stack(), (std::vector<int32_t>{expected[op - 18]}))
                << op << ": " << row.a << " " << row.b;
        }
    }
    EXPECT_EQ(binary(24, 0xff00ff00ff00LL, 0x0ff00ff00ff0LL), 0x0f000f000f00LL);
    EXPECT_EQ(binary(25, 0x100000000LL, 1), 0x100000001LL);
    EXPECT_EQ(binary(26, -1, 0x0f), -16);
    EXPECT_EQ(assigned(29, -1, 0x1234), 0x1234);
    EXPECT_EQ(assigned(30, 0x10, 0x01), 0x11);
    EXPECT_EQ(assigned(31, 0x11, 0x01), 0x10);

    // Shifts take the low word of the count as a signed number.
    const struct {
        int64_t a, count, left, right;
    } shifts[] = {
        {1, 0, 1, 1},
        {1, 63, kMinLong, 0},
        {-8, 1, -16, -4},
        {kMinLong, 63, 0, -1},
        {-1, 64, 0, 0},  // everything shifted out, in both directions
        {16, -2, 4, 64}, // a negative count shifts the other way
        {-16, -2, -4, -64},
        {-1, std::numeric_limits<int32_t>::min(), 0, 0},
        {1, 0x100000003LL, 8, 0}, // the high word of the count is ignored
    };
    for (const auto& row : shifts) {
        EXPECT_EQ(binary(27, row.a, row.count), row.left) << row.a << " << " << row.count;
        EXPECT_EQ(binary(28, row.a, row.count), row.right) << row.a << " >> " << row.count;
        EXPECT_EQ(assigned(32, row.a, row.count), row.left);
        EXPECT_EQ(assigned(33, row.a, row.count), row.right);
    }
}

} // namespace
