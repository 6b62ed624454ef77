// SPDX-License-Identifier: MIT
// The String group (8) and the Encoder group (28) driven directly on a machine: operand
// layouts of the search family, initialisers, edits of a copy, and failures that leave the
// string and the stack as they were.
#include "NativeCall.h"

#include <string>
#include <variant>
#include <vector>

using namespace zelmo;

namespace {

// One operand word: a string (pushed as a new string value) or a plain int.
using Operand = std::variant<std::u16string, int32_t>;
constexpr int32_t kExact = -1;
constexpr int kString = 8, kEncoder = 28;

struct Row {
    int op;
    std::vector<Operand> operands;
    std::variant<int32_t, std::u16string> expected; // a query's int, or X's text afterwards
};

class StringNativesTest : public zelmo::testing::NativeCall {
protected:
    std::vector<int64_t> words(const std::vector<Operand>& operands)
    {
        std::vector<int64_t> out;
        for (const Operand& operand : operands) {
            const auto* text = std::get_if<std::u16string>(&operand);
            out.push_back(text ? int64_t{str(*text)} : std::get<int32_t>(operand));
        }
        return out;
    }
    std::u16string textOf(int64_t box) { return vm.stringOf(uint32_t(box)).toU16(); }
    // A query: one result word left over the first operand.
    int32_t query(int op, const std::vector<Operand>& operands)
    {
        call(kString, op, words(operands));
        EXPECT_EQ(vm.sp(), 0) << "operation " << op;
        return vm.stackWord(0);
    }
    // A failing operation: stack height and X must be as before. Returns the error code.
    int32_t refused(int op, const std::vector<Operand>& operands)
    {
        const std::vector<int64_t> pushed = words(operands);
        const bool isString = std::holds_alternative<std::u16string>(operands[0]);
        const std::u16string before = isString ? textOf(pushed[0]) : u"";
        const int32_t code = failure(kString, op, pushed);
        EXPECT_NE(code, 0) << "operation " << op;
        EXPECT_EQ(vm.sp() + 1, int32_t(pushed.size())) << "operation " << op;
        if (isString) {
            EXPECT_EQ(textOf(pushed[0]), before) << "operation " << op;
        }
        return code;
    }
    void check(const std::vector<Row>& rows)
    {
        for (const Row& row : rows)
            EXPECT_EQ(query(row.op, row.operands), std::get<int32_t>(row.expected))
                << "operation " << row.op;
    }
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
    const uint32_t source = str(u"shared"), copy = str(u"");
    call(kString, 2, {copy, source});
    call(kString, 63, {copy, u'!'});
    EXPECT_EQ(textOf(copy), u"shared!");
    EXPECT_EQ(textOf(source), u"shared");
}

TEST_F(StringNativesTest, InitialisersGiveTheBoxANewString)
{
    const Row rows[] = {
        {1, {u"old"}, u""},
        {2, {u"", u"copy"}, u"copy"},
        {4, {u"x", u"copy"}, u"copy"},
        {5, {u"", u'z', 3}, u"zzz"},
        {7, {u"", u"abcdef", 2, 3}, u"cde"},
        {7, {u"", u"abcdef", 0, 0}, u""},
        {8, {u"", u"abcdefg", 3}, u"adg"},
        {9, {u"", u"abcdefg", 1, -1, 2}, u"bdf"},
    };
    for (const Row& row : rows) {
        const std::vector<int64_t> pushed = words(row.operands);
        const uint32_t before = vm.loadWord(uint32_t(pushed[0]));
        call(kString, row.op, pushed);
        EXPECT_EQ(vm.sp(), -1) << "operation " << row.op;
        EXPECT_NE(vm.loadWord(uint32_t(pushed[0])), before) << "operation " << row.op;
        EXPECT_EQ(textOf(pushed[0]), std::get<std::u16string>(row.expected));
    }
    // A box that holds no string yet is filled too.
    const uint32_t fresh = vm.heap().allocate(4, 0, GC_CODE_REFERENCE);
    call(kString, 1, {fresh});
    EXPECT_EQ(textOf(fresh), u"");

    EXPECT_EQ(refused(1, {0}), kNullPointer);
    EXPECT_EQ(refused(5, {u"", u'z', -1}), kInvalidArgument);
    EXPECT_EQ(refused(8, {u"", u"abc", 0}), kInvalidArgument);
    EXPECT_EQ(refused(7, {u"", u"abc", 2, 2}), kRange);
}

TEST_F(StringNativesTest, FailuresLeaveStringAndStackAlone)
{
    EXPECT_EQ(refused(10, {0}), kNullPointer);
    EXPECT_EQ(lastErrorText(), u"NullPointerException: NULL pointer");
    EXPECT_EQ(refused(62, {kX, 0}), kNullPointer);
    EXPECT_EQ(refused(12, {kX, 9}), kIndexOutOfBounds);
    EXPECT_EQ(refused(14, {std::u16string()}), kIndexOutOfBounds);
    EXPECT_EQ(refused(15, {std::u16string()}), kIndexOutOfBounds);
    EXPECT_EQ(refused(17, {kX, kA, 2, 0}), kRange);
    EXPECT_EQ(refused(17, {kX, kA, -1, 2}), kRange);
    EXPECT_EQ(refused(21, {kX, kb, 9, -1}), kRange);
    EXPECT_EQ(refused(32, {std::u16string()}), kDataFormat);
    EXPECT_EQ(refused(33, {kX, 0, 0}), kDataFormat);
    EXPECT_EQ(refused(49, {kX, -1}), kInvalidArgument);
    EXPECT_EQ(refused(50, {kX, u""}), kInvalidArgument);
    EXPECT_EQ(refused(57, {kX, 10, kA}), kIndexOutOfBounds);
    EXPECT_EQ(refused(59, {kX, 10, 0, 8, kA}), kRange);
    EXPECT_EQ(refused(66, {kX, -2}), kInvalidArgument);
    EXPECT_EQ(refused(67, {kX, 8, 2, kA}), kRange);
    EXPECT_EQ(refused(93, {kX, -1}), kIndexOutOfBounds);
    EXPECT_EQ(refused(94, {kX, 0, 0}), kRange);
    EXPECT_EQ(refused(94, {std::u16string(), 0, -1}), kRange);
    EXPECT_EQ(refused(96, {kX, kA, 3, 7}), kRange);
    EXPECT_EQ(refused(119, {std::u16string()}), kInvalidArgument);
    EXPECT_EQ(refused(120, {kX, 10}), kInvalidArgument);
    EXPECT_EQ(refused(121, {std::u16string()}), kInvalidArgument);
    EXPECT_EQ(refused(122, {kX, -1}), kInvalidArgument);
    EXPECT_EQ(refused(-120, {u"x"}), kDataFormat);
    EXPECT_EQ(refused(-119, {u"12", 1}), kInvalidArgument);
    EXPECT_EQ(refused(-119, {u"-12", 16}), kDataFormat);
    EXPECT_EQ(refused(-108, {kX, u"", 1, 2}), kInvalidArgument);
    EXPECT_EQ(refused(-104, {kX, -1, 0, kA}), kRange);
    EXPECT_EQ(refused(-104, {kX, 10, 0, kA}), kIndexOutOfBounds);
    EXPECT_EQ(refused(-102, {kX, 1, 2, kA, 1, 5}), kRange);
    EXPECT_EQ(refused(-97, {kX, 1, 9, kA, kA}), kRange);
}

TEST_F(StringNativesTest, EncoderConvertsUtf8BothWays)
{
    using Bytes = std::vector<uint8_t>;
    auto encode = [&](std::u16string_view text) {
        call(kEncoder, 1, {str(text)});
        EXPECT_EQ(vm.sp(), 0);
        return vm.arrayBytes(vm.argU(0));
    };
    auto decode = [&](const Bytes& bytes) {
        call(kEncoder, 2, {vm.newByteArray(bytes.data(), bytes.size())});
        EXPECT_EQ(vm.sp(), 0);
        return textOf(vm.argU(0));
    };
    EXPECT_EQ(encode(u"\u00e9"), (Bytes{0xC3, 0xA9}));
    EXPECT_EQ(encode(u"\u20ac"), (Bytes{0xE2, 0x82, 0xAC}));
    EXPECT_EQ(encode(u"\xd83d\xde00"), (Bytes{0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));
    EXPECT_TRUE(encode(u"").empty());
    EXPECT_EQ(decode({0x3C, 0xF0, 0x9F, 0x98, 0x80, 0x3E}), u"\x003c\xd83d\xde00\x003e");
    EXPECT_EQ(decode({}), u"");
    EXPECT_EQ(decode({0x41, 0xC3, 0xA9}), u"A\u00e9");

    for (const Bytes& bad : {Bytes{0x80}, Bytes{0xC0, 0x80}, Bytes{0xED, 0xA0, 0xBD}})
        EXPECT_EQ(failureText(kEncoder, 2, {vm.newByteArray(bad.data(), bad.size())}),
                  "DataFormatException: ");
    EXPECT_EQ(failure(kEncoder, 1, {0}), kNullPointer);
    EXPECT_EQ(failureText(kEncoder, 3, {0}), "VMException: Encoder:" + std::to_string(vm.pc()));
}
