// SPDX-License-Identifier: MIT
// The String group (8) and the Encoder group (28) driven directly on a machine: operand
// layouts of the search family, initialisers, edits of a copy, and failures that leave the
// string and the stack as they were.
#include "Base/Errors.h"
#include "VirtualMachine/VirtualMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

using namespace zelmo;

namespace {

// One operand word: a string (pushed as a new string value) or a plain int.
using Operand = std::variant<std::u16string, int32_t>;
constexpr int32_t kExact = -1;

struct Row {
    int op;
    std::vector<Operand> operands;
    std::variant<int32_t, std::u16string> expected; // a query's int, or X's text afterwards
};

class StringNativesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vm.setSp(-1);
        clearError();
    }

    uint32_t str(std::u16string_view text) { return vm.newString(OString(text)); }
    std::u16string textOf(uint32_t box) { return vm.stringOf(box).toU16(); }

    // Pushes the operands (strings as new values) and returns the word of the first one.
    uint32_t push(const std::vector<Operand>& operands)
    {
        vm.setSp(-1);
        for (const Operand& operand : operands) {
            if (const auto* text = std::get_if<std::u16string>(&operand))
                vm.pushWord(static_cast<int32_t>(str(*text)));
            else
                vm.pushWord(std::get<int32_t>(operand));
        }
        return operands.empty() ? 0 : static_cast<uint32_t>(vm.stackWord(0));
    }
    // Runs an operation; the managed error code, 0 when it succeeded.
    int32_t run(int op)
    {
        clearError();
        try {
            vm.stringNative(op);
        } catch (const ErrorHandlingException&) {
            return lastErrorCode();
        }
        return 0;
    }
    // A query: one result word left over the first operand.
    int32_t query(int op, const std::vector<Operand>& operands)
    {
        push(operands);
        EXPECT_EQ(run(op), 0) << "operation " << op;
        EXPECT_EQ(vm.sp(), 0) << "operation " << op;
        return vm.stackWord(0);
    }
    // An edit of X: every operand popped; X's text afterwards.
    std::u16string edit(int op, const std::vector<Operand>& operands)
    {
        const uint32_t x = push(operands);
        EXPECT_EQ(run(op), 0) << "operation " << op;
        EXPECT_EQ(vm.sp(), -1) << "operation " << op;
        return textOf(x);
    }
    // A failing operation: stack height and X must be as before. Returns the error code.
    int32_t failure(int op, const std::vector<Operand>& operands)
    {
        const uint32_t x = push(operands);
        const std::u16string before =
            std::holds_alternative<std::u16string>(operands[0]) ? textOf(x) : std::u16string();
        const int32_t sp = vm.sp();
        const int32_t code = run(op);
        EXPECT_NE(code, 0) << "operation " << op;
        EXPECT_EQ(vm.sp(), sp) << "operation " << op;
        if (std::holds_alternative<std::u16string>(operands[0])) {
            EXPECT_EQ(textOf(x), before) << "operation " << op;
        }
        return code;
    }
    void check(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            if (const auto* value = std::get_if<int32_t>(&row.expected))
                EXPECT_EQ(query(row.op, row.operands), *value) << "operation " << row.op;
            else
                EXPECT_EQ(edit(row.op, row.operands), std::get<std::u16string>(row.expected))
                    << "operation " << row.op;
        }
    }

    VirtualMachine vm;
};

const std::u16string kX = u"abcABCabc";
const std::u16string kA = u"abc";
const std::u16string kUpper = u"ABC";
const int32_t kB = u'B';
const int32_t kb = u'b';

} // namespace

TEST_F(StringNativesTest, SearchFamiliesReadEveryOperandLayout)
{
    check({
        {17, {kX, kA, 1, 7}, 3},
        {18, {kX, kUpper, kExact}, 3},
        {18, {kX, kUpper, 0}, 0},
        {19, {kX, kA, 1, 7, kExact}, -1},
        {20, {kX, kB}, 1},
        {21, {kX, kB, 2, 6}, 4},
        {22, {kX, kB, kExact}, 4},
        {23, {kX, kB, 5, -1, kExact}, -1},
        {24, {kX, kA}, 6},
        {25, {kX, kA, 1, 7}, 3},
        {26, {kX, kUpper, kExact}, 3},
        {27, {kX, kUpper, 0, 6, 0}, 3},
        {28, {kX, kB}, 7},
        {29, {kX, kB, 0, 7}, 4},
        {30, {kX, kb, kExact}, 7},
        {31, {kX, kb, 0, 7, kExact}, 1},
        {36, {kX, kA}, 3},
        {37, {kX, kA, 1, 7}, 1},
        {38, {kX, kA, kExact}, 2},
        {39, {kX, kA, 0, 6, 0}, 2},
        {40, {kX, kB}, 3},
        {41, {kX, kB, 0, 0}, 0},
        {42, {kX, kb, kExact}, 2},
        {43, {kX, kb, 2, -1, kExact}, 1},
        // A range with count -1 from length - 1 covers the last unit only.
        {21, {kX, u'a', 8, -1}, -1},
        {21, {kX, u'c', 8, -1}, 8},
        {17, {kX, kA, 0, 0}, -1},
        {17, {std::u16string(), kA, 0, -1}, -1},
    });
}

TEST_F(StringNativesTest, EditingACopyLeavesTheSourceUntouched)
{
    const uint32_t source = str(u"shared");
    const uint32_t copy = str(u"");
    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(copy));
    vm.pushWord(static_cast<int32_t>(source));
    ASSERT_EQ(run(2), 0);
    EXPECT_TRUE(vm.stringOf(copy).sharesBlockWith(vm.stringOf(source)));
    vm.pushWord(static_cast<int32_t>(copy));
    vm.pushWord(u'!');
    ASSERT_EQ(run(63), 0);
    EXPECT_EQ(textOf(copy), u"shared!");
    EXPECT_EQ(textOf(source), u"shared");
}

TEST_F(StringNativesTest, InitialisersGiveTheBoxANewString)
{
    auto initialised = [&](int op, std::vector<Operand> operands) {
        const uint32_t box = push(operands);
        const uint32_t before = vm.loadWord(box);
        EXPECT_EQ(run(op), 0) << "operation " << op;
        EXPECT_EQ(vm.sp(), -1) << "operation " << op;
        EXPECT_NE(vm.loadWord(box), before) << "operation " << op;
        return textOf(box);
    };
    EXPECT_EQ(initialised(1, {u"old"}), u"");
    EXPECT_EQ(initialised(2, {u"", u"copy"}), u"copy");
    EXPECT_EQ(initialised(4, {u"x", u"copy"}), u"copy");
    EXPECT_EQ(initialised(5, {u"", u'z', 3}), u"zzz");
    EXPECT_EQ(initialised(7, {u"", u"abcdef", 2, 3}), u"cde");
    EXPECT_EQ(initialised(7, {u"", u"abcdef", 0, 0}), u"");
    EXPECT_EQ(initialised(8, {u"", u"abcdefg", 3}), u"adg");
    EXPECT_EQ(initialised(9, {u"", u"abcdefg", 1, -1, 2}), u"bdf");

    // A box that holds no string yet is filled too.
    const uint32_t fresh = vm.heap().allocate(4, 0, GC_CODE_REFERENCE);
    vm.setSp(-1);
    vm.pushWord(static_cast<int32_t>(fresh));
    ASSERT_EQ(run(1), 0);
    EXPECT_EQ(textOf(fresh), u"");

    EXPECT_EQ(failure(1, {0}), kNullPointer);
    EXPECT_EQ(failure(5, {u"", u'z', -1}), kInvalidArgument);
    EXPECT_EQ(failure(8, {u"", u"abc", 0}), kInvalidArgument);
    EXPECT_EQ(failure(7, {u"", u"abc", 2, 2}), kRange);
}

TEST_F(StringNativesTest, FailuresLeaveStringAndStackAlone)
{
    EXPECT_EQ(failure(10, {0}), kNullPointer);
    EXPECT_EQ(lastErrorText(), u"NullPointerException: NULL pointer");
    EXPECT_EQ(failure(62, {kX, 0}), kNullPointer);
    EXPECT_EQ(failure(12, {kX, 9}), kIndexOutOfBounds);
    EXPECT_EQ(failure(14, {std::u16string()}), kIndexOutOfBounds);
    EXPECT_EQ(failure(15, {std::u16string()}), kIndexOutOfBounds);
    EXPECT_EQ(failure(17, {kX, kA, 2, 0}), kRange);
    EXPECT_EQ(failure(17, {kX, kA, -1, 2}), kRange);
    EXPECT_EQ(failure(21, {kX, kb, 9, -1}), kRange);
    EXPECT_EQ(failure(32, {std::u16string()}), kDataFormat);
    EXPECT_EQ(failure(33, {kX, 0, 0}), kDataFormat);
    EXPECT_EQ(failure(49, {kX, -1}), kInvalidArgument);
    EXPECT_EQ(failure(50, {kX, u""}), kInvalidArgument);
    EXPECT_EQ(failure(57, {kX, 10, kA}), kIndexOutOfBounds);
    EXPECT_EQ(failure(59, {kX, 10, 0, 8, kA}), kRange);
    EXPECT_EQ(failure(66, {kX, -2}), kInvalidArgument);
    EXPECT_EQ(failure(67, {kX, 8, 2, kA}), kRange);
    EXPECT_EQ(failure(93, {kX, -1}), kIndexOutOfBounds);
    EXPECT_EQ(failure(94, {kX, 0, 0}), kRange);
    EXPECT_EQ(failure(94, {std::u16string(), 0, -1}), kRange);
    EXPECT_EQ(failure(96, {kX, kA, 3, 7}), kRange);
    EXPECT_EQ(failure(119, {std::u16string()}), kInvalidArgument);
    EXPECT_EQ(failure(120, {kX, 10}), kInvalidArgument);
    EXPECT_EQ(failure(121, {std::u16string()}), kInvalidArgument);
    EXPECT_EQ(failure(122, {kX, -1}), kInvalidArgument);
    EXPECT_EQ(failure(-120, {u"x"}), kDataFormat);
    EXPECT_EQ(failure(-119, {u"12", 1}), kInvalidArgument);
    EXPECT_EQ(failure(-119, {u"-12", 16}), kDataFormat);
    EXPECT_EQ(failure(-108, {kX, u"", 1, 2}), kInvalidArgument);
    EXPECT_EQ(failure(-104, {kX, -1, 0, kA}), kRange);
    EXPECT_EQ(failure(-104, {kX, 10, 0, kA}), kIndexOutOfBounds);
    EXPECT_EQ(failure(-102, {kX, 1, 2, kA, 1, 5}), kRange);
    EXPECT_EQ(failure(-97, {kX, 1, 9, kA, kA}), kRange);
}

TEST_F(StringNativesTest, EncoderConvertsUtf8BothWays)
{
    auto encode = [&](std::u16string_view text) {
        vm.setSp(-1);
        vm.pushWord(static_cast<int32_t>(str(text)));
        vm.encoderNative(1);
        EXPECT_EQ(vm.sp(), 0);
        return vm.arrayBytes(static_cast<uint32_t>(vm.stackWord(0)));
    };
    auto decode = [&](const std::vector<uint8_t>& bytes) {
        vm.setSp(-1);
        vm.pushWord(static_cast<int32_t>(vm.newByteArray(bytes.data(), bytes.size())));
        vm.encoderNative(2);
        EXPECT_EQ(vm.sp(), 0);
        return textOf(static_cast<uint32_t>(vm.stackWord(0)));
    };
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(encode(u"\u00e9"), (Bytes{0xC3, 0xA9}));
    EXPECT_EQ(encode(u"\u20ac"), (Bytes{0xE2, 0x82, 0xAC}));
    EXPECT_EQ(encode(u"\xd83d\xde00"), (Bytes{0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));
    EXPECT_TRUE(encode(u"").empty());
    EXPECT_EQ(decode({0x3C, 0xF0, 0x9F, 0x98, 0x80, 0x3E}), u"\x003c\xd83d\xde00\x003e");
    EXPECT_EQ(decode({}), u"");
    EXPECT_EQ(decode({0x41, 0xC3, 0xA9}), u"A\u00e9");

    for (const Bytes& bad : {Bytes{0x80}, Bytes{0xC0, 0x80}, Bytes{0xED, 0xA0, 0xBD}}) {
        vm.setSp(-1);
        vm.pushWord(static_cast<int32_t>(vm.newByteArray(bad.data(), bad.size())));
        clearError();
        EXPECT_THROW(vm.encoderNative(2), ErrorHandlingException);
        EXPECT_EQ(lastErrorCode(), kDataFormat);
        EXPECT_EQ(lastErrorText(), u"DataFormatException: ");
    }
    vm.setSp(-1);
    vm.pushWord(0);
    EXPECT_THROW(vm.encoderNative(1), ErrorHandlingException);
    EXPECT_EQ(lastErrorCode(), kNullPointer);
    EXPECT_THROW(vm.encoderNative(3), ErrorHandlingException);
    EXPECT_EQ(lastErrorCode(), kVMException);
    EXPECT_EQ(lastErrorText(), u"VMException: Encoder:" + fromAscii(std::to_string(vm.pc())));
}
