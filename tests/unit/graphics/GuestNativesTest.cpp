// SPDX-License-Identifier: MIT
// The value, bitmap and font native groups driven as a guest drives them: operands on the
// stack, variables in guest memory, results on the stack or in the variables.
#include "GraphicsTestSupport.h"

#include "VirtualMachine/VirtualMachine.h"
#include "graphics/NativeFont.h"
#include "graphics/natives/DrawingNatives.h"

#include <vector>

namespace zelmo::graphics {
namespace {

using testing::raises;
using Native = void (*)(VirtualMachine&, int);
using Words = std::vector<int32_t>;

// Stand-ins in argument lists for the addresses of the two variables.
constexpr int32_t A = INT32_MIN + 1;
constexpr int32_t B = INT32_MIN + 2;
constexpr int32_t kRed = int32_t(0xFFFF0000), kWhite = -1;

class GuestNatives : public ::testing::Test {
protected:
    uint32_t variable(const Words& values)
    {
        const uint32_t v = vm.heap().allocate(16, 0, GC_CODE_NATIVE);
        for (size_t i = 0; i < values.size(); ++i)
            vm.storeWord(v + 4 * uint32_t(i), uint32_t(values[i]));
        return v;
    }
    Words words(uint32_t address, int count)
    {
        Words out;
        for (int i = 0; i < count; ++i)
            out.push_back(int32_t(vm.loadWord(address + 4 * i)));
        return out;
    }
    // Runs the operation and answers the stack it leaves, deepest word first.
    Words call(Native native, int operation, const Words& args)
    {
        vm.setSp(-1);
        for (int32_t w : args)
            vm.pushWord(w == A ? int32_t(a) : w == B ? int32_t(b) : w);
        native(vm, operation);
        return stack();
    }
    // The operation must raise the managed error `code` with `message`.
    ::testing::AssertionResult refuses(int32_t code, const std::string& message, Native native,
                                       int operation, const Words& args)
    {
        return raises(code, message, [&] { call(native, operation, args); });
    }
    Words stack()
    {
        Words out;
        for (int k = vm.sp(); k >= 0; --k)
            out.push_back(vm.arg(k));
        return out;
    }
    VirtualMachine vm;
    uint32_t a = 0, b = 0;
};

TEST_F(GuestNatives, ValueOperationsReadAndWriteTheirVariables)
{
    struct Row {
        Native native;
        int operation;
        Words before; // a's words (ab when empty); b always holds {1, 2, 30, 40}
        Words args;
        Words stack;
        Words after; // a's words afterwards
    };
    const Words ab = {0x11223344, 7, 8, 9};
    const Row rows[] = {
        {colorNative, 1, {0}, {A}, {}, {kWhite}},
        {colorNative, 2, {0}, {A, B}, {}, {1}},
        {colorNative, 3, {0}, {A, 1, 2, 3, 4}, {}, {0x04010203}},
        {colorNative, 4, {}, {A}, {0x22}, {}},
        {colorNative, 5, {}, {A}, {0x33}, {}},
        {colorNative, 6, {}, {A}, {0x44}, {}},
        {colorNative, 7, {}, {A}, {0x11}, {}},
        {colorNative, 8, ab, {A, 0xAB}, {}, {0x11AB3344}},
        {colorNative, 11, ab, {A, 0xAB}, {}, {int32_t(0xAB223344)}},
        {colorNative, 12, {}, {kRed, kRed}, {1}, {}},
        {colorNative, 13, {}, {kRed, kWhite}, {1}, {}},
        {colorNative, 14, {}, {}, {kRed}, {}},
        {colorNative, 24, {}, {}, {int32_t(0xFFFF7F00)}, {}},
        {sizeNative, 1, ab, {A}, {}, {0, 0, 8}},
        {sizeNative, 2, ab, {A, B}, {}, {1, 2, 8}},
        {sizeNative, 3, ab, {A, 5, 6}, {}, {5, 6}},
        {sizeNative, 4, {}, {B}, {1}, {}},
        {sizeNative, 5, {}, {B}, {2}, {}},
        {sizeNative, 6, ab, {A, 5}, {}, {5, 7}},
        {sizeNative, 7, ab, {A, 5}, {}, {0x11223344, 5}},
        {sizeNative, 8, {}, {3, 4, 3, 4}, {1}, {}},
        {sizeNative, 9, {}, {3, 4, 3, 5}, {1}, {}},
        // Positions share the size code; they differ in taking negative values.
        {positionNative, 3, ab, {A, -5, 6}, {}, {-5, 6}},
        {positionNative, 9, {}, {3, 4, 4, 4}, {1}, {}},
        {rectangleNative, 1, ab, {A}, {}, {0, 0, 0, 0}},
        {rectangleNative, 2, ab, {A, B}, {}, {1, 2, 30, 40}},
        {rectangleNative, 3, ab, {A, 1, 2, 3, 4}, {}, {1, 2, 3, 4}},
        {rectangleNative, 4, {}, {B}, {1, 2}, {}},
        {rectangleNative, 5, {}, {B}, {30, 40}, {}},
        {rectangleNative, 6, {}, {B}, {1}, {}},
        {rectangleNative, 9, {}, {B}, {40}, {}},
        {rectangleNative, 10, {}, {B}, {31}, {}},
        {rectangleNative, 11, {}, {B}, {42}, {}},
        {rectangleNative, 12, ab, {A, 5, 6}, {}, {5, 6, 8, 9}},
        {rectangleNative, 13, ab, {A, 5, 6}, {}, {0x11223344, 7, 5, 6}},
        {rectangleNative, 14, ab, {A, 5}, {}, {5, 7, 8, 9}},
        {rectangleNative, 16, ab, {A, 5}, {}, {0x11223344, 7, 5, 9}},
        {rectangleNative, 17, ab, {A, 5}, {}, {0x11223344, 7, 8, 5}},
        {rectangleNative, 18, {3, 4, 0, 0}, {A, 10}, {}, {3, 4, 7, 0}},
        {rectangleNative, 19, {3, 4, 0, 0}, {A, 10}, {}, {3, 4, 0, 6}},
        {rectangleNative, 20, {}, {1, 2, 3, 4, 1, 2, 3, 4}, {1}, {}},
        {rectangleNative, 21, {}, {1, 2, 3, 4, 1, 2, 3, 5}, {1}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "row " << &row - rows << ", operation " << row.operation);
        a = variable(row.before.empty() ? ab : row.before);
        b = variable({1, 2, 30, 40});
        EXPECT_EQ(call(row.native, row.operation, row.args), row.stack);
        EXPECT_EQ(words(a, int(row.after.size())), row.after);
    }
    a = variable({0, 0, 0, 0});
    for (const auto& [native, operation, args] :
         std::vector<std::tuple<Native, int, Words>>{{colorNative, 3, {A, 256, 0, 0, 0}},
                                                     {colorNative, 8, {A, -1}},
                                                     {sizeNative, 3, {A, -1, 0}},
                                                     {sizeNative, 7, {A, -1}},
                                                     {rectangleNative, 16, {A, -1}},
                                                     {rectangleNative, 18, {A, -1}}}) {
        EXPECT_TRUE(refuses(kInvalidArgument, "", native, operation, args)) << operation;
        EXPECT_EQ(words(a, 4), (Words{0, 0, 0, 0}));
    }
}

TEST_F(GuestNatives, BitmapsAndFontsThroughTheirHandles)
{
    a = variable({0});
    EXPECT_EQ(call(bitmapNative, 1, {A, 3, 2, kRed}), Words{});
    ASSERT_NE(vm.loadWord(a), 0u);
    EXPECT_EQ(call(bitmapNative, 8, {A}), (Words{3, 2}));
    EXPECT_EQ(call(bitmapNative, 7, {A, 2, 1}), Words{kRed});
    EXPECT_EQ(call(bitmapNative, 9, {A, 2, 1, kWhite}), Words{});
    EXPECT_EQ(call(bitmapNative, 7, {A, 2, 1}), Words{kWhite});
    EXPECT_TRUE(refuses(kInvalidArgument,
                        "Position (3, 0) is outside the bounds of the bitmap: (3, 2)", bitmapNative,
                        7, {A, 3, 0}));
    EXPECT_TRUE(refuses(kInvalidArgument,
                        "Position (0, -1) is outside the bounds of the bitmap: (3, 2)",
                        bitmapNative, 9, {A, 0, -1, 0}));

    b = variable({0});
    EXPECT_EQ(call(bitmapNative, 2, {B, A, 1, 1, 2, 1}), Words{});
    EXPECT_EQ(call(bitmapNative, 8, {B}), (Words{2, 1}));
    EXPECT_EQ(call(bitmapNative, 7, {B, 1, 0}), Words{kWhite});
    EXPECT_TRUE(refuses(kInvalidArgument,
                        "Source rectangle (2, 0, 2, 1) should be inside the bounds of the "
                        "source bitmap: (3, 2)",
                        bitmapNative, 2, {B, A, 2, 0, 2, 1}));
    EXPECT_TRUE(
        refuses(kInvalidArgument, "Width should be non-negative", bitmapNative, 1, {B, -1, 2, 0}));

    EXPECT_EQ(call(bitmapNative, 6, {B, A}), Words{});
    EXPECT_EQ(call(bitmapNative, 7, {B, 2, 1}), Words{kWhite});
    EXPECT_EQ(call(bitmapNative, 10, {B, 6, 4}), Words{});
    EXPECT_EQ(call(bitmapNative, 8, {B}), (Words{6, 4}));
    EXPECT_EQ(call(bitmapNative, 8, {A}), (Words{3, 2}));
    vm.storeWord(a, 0);
    EXPECT_TRUE(refuses(kNullPointer, "NULL pointer", bitmapNative, 8, {A}));

    const Words font = call(fontCreationNative, 10, {});
    ASSERT_EQ(font.size(), 1u);
    const NativeFont host;
    const int32_t text = int32_t(vm.newString(OString(u"Wide")));
    EXPECT_EQ(call(fontNative, 2, {font[0]}), Words{host.height()});
    EXPECT_EQ(call(fontNative, 3, {font[0]}), Words{host.ascent()});
    const int32_t width = host.width(OString(u"Wide"), 0, 4);
    EXPECT_EQ(call(fontNative, 4, {font[0], text}), Words{width});
    EXPECT_EQ(call(fontNative, 5, {font[0], text, 1, 2}),
              Words{host.width(OString(u"Wide"), 1, 2)});
    EXPECT_EQ(call(fontNative, 6, {font[0], text, width - 1}), Words{3});
    EXPECT_EQ(call(fontNative, 7, {font[0], text, 2, -1, width}), Words{2});
    EXPECT_EQ(call(fontNative, 2, {A}), Words{0}); // a variable holding no font
    EXPECT_TRUE(refuses(kRange, "", fontNative, 5, {font[0], text, 3, 2}));
}

} // namespace
} // namespace zelmo::graphics
