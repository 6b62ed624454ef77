// SPDX-License-Identifier: MIT
// The String group (8) and the Encoder group (28) driven directly on a machine: operand
// layouts of every operation number, results over the first operand, new strings and arrays,
// and failures that leave the string and the stack as they were.
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
    // A new string over the first operand.
    std::u16string created(int op, const std::vector<Operand>& operands)
    {
        push(operands);
        EXPECT_EQ(run(op), 0) << "operation " << op;
        EXPECT_EQ(vm.sp(), 0) << "operation " << op;
        return textOf(static_cast<uint32_t>(vm.stackWord(0)));
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
    // The texts of a new array of strings left over the first operand.
    std::vector<std::u16string> piecesOnTop()
    {
        const uint32_t array = static_cast<uint32_t>(vm.stackWord(vm.sp()));
        std::vector<std::u16string> out;
        const uint32_t vector = vm.vectorOf(array);
        EXPECT_EQ(vm.loadWord(array + 4), 4u); // element size
        for (int32_t k = 0; k < vm.vectorLength(vector); ++k) {
            const uint32_t data = vm.loadWord(vector + VectorLayout::kData);
            out.push_back(textOf(vm.loadWord(data + 4 * static_cast<uint32_t>(k))));
        }
        return out;
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

TEST_F(StringNativesTest, RemoveAndReplaceFamiliesEditX)
{
    check({
        {95, {kX, kA}, u"ABCabc"},
        {96, {kX, kA, 1, -1}, u"abcabc"},
        {97, {kX, kUpper, kExact}, u"abcabc"},
        {98, {kX, kA, 1, -1, kExact}, u"abcABC"},
        {99, {kX, kB}, u"acABCabc"},
        {100, {kX, kB, 2, -1}, u"abcACabc"},
        {101, {kX, kB, kExact}, u"abcACabc"},
        {102, {kX, kb, 2, -1, kExact}, u"abcABCac"},
        {103, {kX, kA}, u"abcABC"},
        {104, {kX, kA, 0, 6}, u"abcabc"},
        {105, {kX, kUpper, kExact}, u"abcabc"},
        {106, {kX, kA, 0, 6, kExact}, u"ABCabc"},
        {107, {kX, kB}, u"abcABCac"},
        {108, {kX, kB, 0, 6}, u"abcACabc"},
        {109, {kX, kb, kExact}, u"abcABCac"},
        {110, {kX, kb, 0, 6, kExact}, u"acABCabc"},
        {111, {kX, kA}, u""},
        {112, {kX, kA, 1, -1}, u"abc"},
        {113, {kX, kA, kExact}, u"ABC"},
        {114, {kX, kUpper, 0, 6, kExact}, u"abcabc"},
        {115, {kX, kB}, u"acACac"},
        {116, {kX, kB, 2, 5}, u"abcACabc"},
        {117, {kX, kb, kExact}, u"acABCac"},
        {118, {kX, kB, 0, -1, kExact}, u"abcACabc"},

        {69, {kX, kA, u"-"}, u"-ABCabc"},
        {70, {kX, kUpper, u"-", kExact}, u"abc-abc"},
        {71, {kX, kA, u'+'}, u"+ABCabc"},
        {72, {kX, kUpper, u'+', kExact}, u"abc+abc"},
        {73, {kX, kA, 1, 7, u"-"}, u"abc-abc"},
        {74, {kX, kA, 1, -1, u"-", kExact}, u"abcABC-"},
        {75, {kX, kA, 1, 7, u'+'}, u"abc+abc"},
        {76, {kX, kUpper, 0, 6, u'+', 0}, u"+ABCabc"},
        {77, {kX, kA, u"-"}, u"abcABC-"},
        {78, {kX, kUpper, u"-", kExact}, u"abc-abc"},
        {79, {kX, kA, u'+'}, u"abcABC+"},
        {80, {kX, u"Abc", u'+', kExact}, kX},
        {81, {kX, kA, 0, 6, u"-"}, u"abc-abc"},
        {82, {kX, kA, 0, 6, u"-", kExact}, u"-ABCabc"},
        {83, {kX, kA, 0, 6, u'+'}, u"abc+abc"},
        {84, {kX, kA, 0, 6, u'+', kExact}, u"+ABCabc"},
        {85, {kX, kA, u"-"}, u"---"},
        {86, {kX, kA, u"-", kExact}, u"-ABC-"},
        {87, {kX, kA, u'+'}, u"+++"},
        {88, {kX, kA, u'+', kExact}, u"+ABC+"},
        {89, {kX, kA, 1, -1, u"-"}, u"abc--"},
        {90, {kX, kA, 0, 6, u"-", kExact}, u"-ABCabc"},
        {91, {kX, kA, 0, 6, u'+'}, u"++abc"},
        {92, {kX, kA, 0, 0, u'+', 0}, kX},
        {-97, {kX, 1, -1, kA, u"<>"}, u"abc<><>"},
        {-96, {kX, 0, 6, kA, u"", kExact}, u"ABCabc"},
    });
}

TEST_F(StringNativesTest, QueriesComparisonsAndCharacters)
{
    check({
        {10, {kX}, 9},
        {11, {kX}, 0},
        {11, {std::u16string()}, 1},
        {12, {kX, 4}, u'B'},
        {14, {kX}, u'a'},
        {15, {u"xyZ"}, u'Z'},
        {32, {u"aBbA"}, u'a'},
        {33, {u"aBbAx", 1, -1}, u'b'},
        {34, {u"aBbA", kExact}, u'a'},
        {35, {u"aBbAbxx", 1, 5, kExact}, u'b'},
        {44, {kX, u"ABCa"}, 1},
        {45, {kX, u"ABCa", kExact}, 0},
        {46, {kX, u"CABC"}, 1},
        {47, {kX, u"bc", kExact}, 1},
        {-127, {u'\u00c9'}, u'\u00e9'},
        {-126, {0x10000 + u'q'}, u'Q'}, // only the low 16 bits count
        {-125, {u'\u00e9'}, 1},
        {-125, {u'1'}, 0},
        {-124, {u'7'}, 1},
        {-124, {u'x'}, 0},
        {-123, {u'\t'}, 1},
        {-123, {u'_'}, 0},
        {-120, {u"  -42"}, -42},
        {-119, {u"-42", 10}, -42},
        {-119, {u" 7f", 16}, 127},
        {-118, {u"abd", u"ABC", 0}, 1},
        {-118, {u"abd", u"ABC", kExact}, u'a' - u'A'},
        {-117, {u"xabcx", u"ABC", 1, 3, 0}, 0},
        {-117, {u"xabcx", u"xabcx", 0, -1, kExact}, 0},
        {-117, {u"xabcx", u"bcx", 2, -1, kExact}, 0},
        {-116, {u"Abc", u"abc"}, 0},
        {-116, {u"abc", u"abc"}, 1},
        {-115, {u"Abc", u"abc"}, 1},
        {-114, {u"Abc", u"abc"}, 1},
        {-113, {u"abc", u"abc"}, 1},
        {-112, {u"abc", u"ab"}, 1},
        {-111, {u"ab", u"abc"}, 0},
        {-110, {u"Abc", u"abc"}, 1},
        {-109, {u"Abc", u"abc", kExact}, 0},
        {-108, {u"xAbcx", u"abc", 1, 3}, 1},
        {-108, {u"xAbcx", u"abc", 1, 2}, 0},
        {-108, {u"abc", u"ABC", 0, -1}, 1},
        {-107, {u"xAbcx", u"abc", 1, 3, kExact}, 0},
        {-101, {kX, 1, -1, kA}, 3},
        {-100, {kX, 1, -1, kA, kExact}, 6},
        {-99, {kX, 0, 7, kA}, 3},
        {-98, {kX, 0, 7, kA, kExact}, 0},
    });

    // find writes (index, length of A) over both words, (0, 0) when A does not occur.
    push({kX, u"cab"});
    ASSERT_EQ(run(16), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(vm.stackWord(0), 2);
    EXPECT_EQ(vm.stackWord(1), 3);
    push({kX, u"zz"});
    ASSERT_EQ(run(16), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(vm.stackWord(0), 0);
    EXPECT_EQ(vm.stackWord(1), 0);
}

TEST_F(StringNativesTest, EditsInPlace)
{
    check({
        {57, {u"held", 3, u"LO WOR"}, u"helLO WORd"},
        {57, {u"abc", 9, u""}, u"abc"},
        {58, {u"abc", 3, u'!'}, u"abc!"},
        {59, {u"ac", 1, 1, 1, u"xbx"}, u"abc"},
        {60, {u"b", u"a"}, u"ab"},
        {61, {u"b", u'a'}, u"ab"},
        {62, {u"a", u"bc"}, u"abc"},
        {64, {u"a", u"bc"}, u"abc"},
        {63, {u"a", u'b'}, u"ab"},
        {65, {u"a", u'b'}, u"ab"},
        {66, {u"ab", 3}, u"ababab"},
        {66, {u"ab", 0}, u""},
        {67, {u"abcd", 1, 2, u"XYZ"}, u"aXYZd"},
        {67, {u"abcd", 1, -1, u""}, u"a"},
        {67, {u"abcd", 0, 0, u"XYZ"}, u"abcd"},
        {68, {u"abcd", 3, 1, u'!'}, u"abc!"},
        {93, {u"abc", 1}, u"ac"},
        {94, {u"abcdef", 1, 3}, u"aef"},
        {94, {u"abcdef", 4, -1}, u"abcd"},
        {119, {u"abc"}, u"bc"},
        {120, {u"abc", 2}, u"c"},
        {121, {u"abc"}, u"ab"},
        {122, {u"abc", 3}, u""},
        {123, {u"abc"}, u""},
        {124, {u"  a b  "}, u"a b  "},
        {125, {u"  a b  "}, u"  a b"},
        {126, {u"\t a b \n"}, u"a b"},
        {126, {u" \t "}, u""},
        {127, {u"\u00c9aB"}, u"\u00e9ab"},
        {-128, {u"\u00e9aB"}, u"\u00c9AB"},
        {-104, {u"abcd", 2, 0, u"XY"}, u"abXYcd"},
        {-104, {u"abcd", 4, 0, u"XY"}, u"abcdXY"},
        {-104, {u"abcd", 1, 2, u"XY"}, u"aXYd"},
        {-104, {u"abcd", 1, -1, u"XY"}, u"aXY"},
        {-102, {u"abcd", 1, 2, u"0123456", 2, 3}, u"a234d"},
        {-102, {u"abcd", 0, -1, u"01", 1, -1}, u"1"},
    });

    // -105 leaves everything alone.
    push({kX, 7});
    ASSERT_EQ(run(-105), 0);
    EXPECT_EQ(vm.sp(), 1);
    EXPECT_EQ(vm.stackWord(1), 7);
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

TEST_F(StringNativesTest, NewStringsAndSplitArrays)
{
    EXPECT_EQ(created(48, {u"ab", u"cd"}), u"abcd");
    EXPECT_EQ(created(49, {u"ab", 3}), u"ababab");
    EXPECT_EQ(created(-106, {u"abcdef", 1, 2}), u"bc");
    EXPECT_EQ(created(-103, {u"abcdef", 5, -1}), u"f");
    EXPECT_EQ(created(-122, {-120}), u"-120");
    EXPECT_EQ(created(-121, {255, 16}), u"ff");
    EXPECT_EQ(created(-121, {255, 1}), u"");

    using Pieces = std::vector<std::u16string>;
    push({u"a,,b", u","});
    ASSERT_EQ(run(50), 0);
    EXPECT_EQ(vm.sp(), 0);
    EXPECT_EQ(piecesOnTop(), (Pieces{u"a", u"b"}));
    push({u"1x2X3", u"x", kExact});
    ASSERT_EQ(run(51), 0);
    EXPECT_EQ(piecesOnTop(), (Pieces{u"1", u"2X3"}));
    push({u"1x2X3", u'X'});
    ASSERT_EQ(run(52), 0);
    EXPECT_EQ(piecesOnTop(), (Pieces{u"1", u"2", u"3"}));
    push({u"1x2X3", u'X', kExact});
    ASSERT_EQ(run(53), 0);
    EXPECT_EQ(piecesOnTop(), (Pieces{u"1x2", u"3"}));
    push({u"abc", u','});
    ASSERT_EQ(run(52), 0);
    EXPECT_EQ(vm.arrayLength(static_cast<uint32_t>(vm.stackWord(0))), 0);
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

TEST_F(StringNativesTest, ReservedAndUnlistedNumbersAreUnknown)
{
    for (const int op : {0, 3, 6, 13, 54, 55, 56, -95, -60, -1}) {
        EXPECT_EQ(failure(op, {kX}), kVMException) << "operation " << op;
        EXPECT_EQ(lastErrorText(), u"VMException: String:" + fromAscii(std::to_string(vm.pc())));
    }
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
