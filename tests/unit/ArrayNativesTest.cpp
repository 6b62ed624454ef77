// SPDX-License-Identifier: MIT
// The array groups driven through the native dispatcher: stack effects of every operation,
// storage growth and shrinking, range rules and their messages, byte and multi-word elements,
// reference arrays and forged vectors.
#include "NativeCall.h"
#include "VirtualMachine/natives/GuestVector.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

constexpr int kBytes = 1, kInts = 3, kPairs = 4, kTriples = 5, kQuads = 6, kRefs = 7;

uint32_t widthOf(int group)
{
    constexpr uint32_t kWidths[] = {0, 1, 0, 4, 8, 12, 16, 4}; // bytes of an element, by group
    return kWidths[group];
}

class ArrayNativesTest : public zelmo::testing::NativeCall {
protected:
    GuestMemory& mem = vm.memory();

    // A new array object holding `values` (words; bytes for byte arrays). The box is itself
    // the address of an array value, which is what the natives take.
    uint32_t array(int group, std::vector<uint32_t> values)
    {
        const uint32_t width = widthOf(group);
        const size_t wordsPerElement = width == 1 ? 1 : width / 4;
        const int32_t count = static_cast<int32_t>(values.size() / wordsPerElement);
        const uint32_t box = vm.newArrayObject(width, count, group == kRefs);
        uint8_t* out = vm.vectorElements(vector(box));
        for (size_t i = 0; i < values.size(); ++i) {
            if (width == 1)
                out[i] = static_cast<uint8_t>(values[i]);
            else
                std::memcpy(out + 4 * i, &values[i], 4);
        }
        return box;
    }
    // An array variable that receives a vector.
    uint32_t variable() { return vm.heap().allocate(8, 0, GC_CODE_NATIVE); }
    uint32_t vector(uint32_t arrayAddress) { return mem.load32(arrayAddress); }
    uint32_t vectorWord(uint32_t arrayAddress, uint32_t offset)
    {
        return mem.load32(vector(arrayAddress) + offset);
    }
    uint32_t storage(uint32_t a) { return vectorWord(a, VectorLayout::kData); }

    std::vector<uint32_t> contents(uint32_t arrayAddress)
    {
        const uint32_t v = vector(arrayAddress);
        const uint32_t width = mem.load32(v + VectorLayout::kElementSize);
        const uint64_t bytes = uint64_t(vm.vectorLength(v)) * width;
        const uint8_t* in = vm.vectorElements(v);
        std::vector<uint32_t> out;
        for (uint64_t i = 0; i < bytes; i += width == 1 ? 1 : 4) {
            uint32_t word = in[i];
            if (width != 1) std::memcpy(&word, in + i, 4);
            out.push_back(word);
        }
        return out;
    }

    using Words = std::vector<uint32_t>;
};

TEST_F(ArrayNativesTest, ElementAccessLeavesTheDocumentedStack)
{
    // Two-word elements: the array reference stays in place, both words above it.
    const uint32_t pairs = array(kPairs, {1, 2, 3, 4, 5, 6});
    call(kPairs, 8, {pairs, 1});
    EXPECT_EQ(stack(), (std::vector<int32_t>{int32_t(pairs), 3, 4}));
    call(kPairs, 10, {pairs});
    EXPECT_EQ(stack(), (std::vector<int32_t>{5, 6}));
    const uint32_t quads = array(kQuads, {1, 2, 3, 4, 5, 6, 7, 8});
    call(kQuads, 9, {quads});
    EXPECT_EQ(stack(), (std::vector<int32_t>{1, 2, 3, 4}));
    call(kQuads, 6, {quads, 1});
    EXPECT_EQ(mem.load32(vm.argU(0) + 12), 8u);

    // Reference arrays hand out the reference itself; 7 gives the element's address.
    const uint32_t refs = array(kRefs, {0x11111, 0x22222});
    call(kRefs, 8, {refs, 1});
    EXPECT_EQ(stack(), (std::vector<int32_t>{0x22222}));
    call(kRefs, 6, {refs, 0});
    EXPECT_EQ(stack(), (std::vector<int32_t>{0x11111}));
    call(kRefs, 7, {refs, 1});
    EXPECT_EQ(mem.load32(vm.argU(0)), 0x22222u);

    for (int op : {6, 7, 8})
        for (int64_t index : {-1, 2, 0x7fffffff, -0x7fffffff - 1})
            EXPECT_EQ(failure(kRefs, op, {refs, index}), kIndexOutOfBounds) << op << " " << index;
    EXPECT_EQ(failure(kQuads, 10, {array(kQuads, {})}), kIndexOutOfBounds);
    EXPECT_EQ(failure(kQuads, 7, {quads, 0}), kVMException);
    EXPECT_EQ(errorText(), "VMException: Vector:" + std::to_string(vm.pc()));
}

// (How much room each storage leaves is invisible to the application; the elements are not.)
TEST_F(ArrayNativesTest, StorageGrowsAndShrinksByTheVectorRules)
{
    // The eleventh element no longer fits the first storage: all move to a new one.
    const uint32_t a = array(kInts, {});
    for (int i = 1; i <= 11; ++i)
        call(kInts, 19, {a, i});
    EXPECT_EQ(contents(a), (Words{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    // Removing 10 of 100 stays in place; removing 30 more leaves 60, not above half the room,
    // so the rest moves to a smaller storage.
    const uint32_t big = variable();
    call(kInts, 3, {big, 7, 100});
    call(kInts, 24, {big, 10});
    EXPECT_EQ(vm.vectorLength(vector(big)), 90);
    call(kInts, 23, {big, 30});
    EXPECT_EQ(contents(big), Words(60, 7));
    // Removing everything leaves no storage behind (the collector no longer follows it).
    call(kInts, 25, {big});
    EXPECT_EQ(storage(big), 0u);
    call(kInts, 19, {big, 5});
    call(kInts, 20, {big, 10});
    EXPECT_EQ(failure(kInts, 20, {big, 0x7fffffff}), kInvalidArgument);
    EXPECT_EQ(contents(big), Words(10, 5));
}

TEST_F(ArrayNativesTest, CheckedRangesReportTheirExactMessages)
{
    const uint32_t a = array(kInts, {1, 2, 3, 4, 5});
    call(kInts, 82, {a, 2, -1});
    ASSERT_EQ(vm.sp(), 0);
    const uint32_t tail = vm.argU(0);
    EXPECT_EQ(contents(tail), (Words{3, 4, 5}));
    EXPECT_EQ(vm.heap().entryOf(tail)->gcCode, GC_CODE_PRIMITIVE_ARRAY);

    const struct {
        int64_t first, count;
        const char* text;
    } rows[] = {
        {6, -1, "RangeException: Invalid Range, first should not be more than 5, first = 6"},
        {-1, -1, "RangeException: Invalid Range, first should not be less than 0, first = -1"},
        {-3, 2, "RangeException: Invalid Range, first should not be less than0, first =  -3"},
        {4, 2, "RangeException: Invalid Range, range out of bounds: 6 > 5"},
        {0x7fffffff, 0x7fffffff,
         "RangeException: Invalid Range, range out of bounds: 4294967294 > 5"},
        {-2, 0, "RangeException: Invalid Range, first should be non-negative (first=-2)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(failure(kInts, 82, {a, row.first, row.count}), kRange);
        EXPECT_EQ(errorText(), row.text);
        EXPECT_EQ(failure(kInts, 81, {a, row.first, row.count, a}), kRange);
        EXPECT_EQ(errorText(), row.text);
    }
    call(kInts, 82, {a, 9, 0}); // a count of 0 selects nothing wherever it starts
    EXPECT_EQ(contents(vm.argU(0)), Words{});
    call(kInts, 82, {a, 5, -1});
    EXPECT_EQ(contents(vm.argU(0)), Words{});
    EXPECT_EQ(contents(a), (Words{1, 2, 3, 4, 5}));
}

TEST_F(ArrayNativesTest, NewArraysAndNewVectors)
{
    const uint32_t a = array(kInts, {1, 2, 3, 4, 5, 6, 7});
    const uint32_t d = variable();
    call(kInts, 2, {d, a}); // initCopy
    EXPECT_EQ(contents(d), contents(a));
    EXPECT_NE(vector(d), vector(a));
    call(kInts, 5, {d, a, 3}); // initStepped
    EXPECT_EQ(contents(d), (Words{1, 4, 7}));
    call(kInts, 5, {d, array(kInts, {}), 2});
    EXPECT_EQ(contents(d), Words{});
    EXPECT_EQ(failure(kInts, 5, {d, a, 0}), kInvalidArgument);
    call(kInts, 28, {d, a, 5, 2}); // initSubvector
    EXPECT_EQ(contents(d), (Words{6, 7}));
    EXPECT_EQ(failure(kInts, 28, {d, a, 6, 2}), kRange);
    call(kQuads, 29, {d, 1, 2, 3, 4}); // initSingle
    EXPECT_EQ(contents(d), (Words{1, 2, 3, 4}));
    call(kPairs, 3, {d, 5, 6, 2}); // initFilled with a two-word element
    EXPECT_EQ(contents(d), (Words{5, 6, 5, 6}));
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(failure(kPairs, 3, {d, 5, 6, -1}), kInvalidArgument);
    EXPECT_EQ(failure(kInts, 3, {d, 5, 0x7fffffff}), kInvalidArgument);

    // concatParts: a new array object in V's slot, boxed for references in group 7.
    const uint32_t r = array(kRefs, {0x10000, 0x20000, 0x30000});
    call(kRefs, 84, {r, 1, -1, r, 0, 1});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(contents(vm.argU(0)), (Words{0x20000, 0x30000, 0x10000}));
    EXPECT_EQ(vm.heap().entryOf(vm.argU(0))->gcCode, GC_CODE_OBJECT_ARRAY);
    call(kRefs, 84, {r, 0, 0, r, 0, 0});
    EXPECT_EQ(contents(vm.argU(0)), Words{});
    EXPECT_EQ(failure(kRefs, 84, {r, 2, 0, r, 0, 1}), kRange);

    call(kInts, 4, {7, 8}); // does nothing at all
    EXPECT_EQ(stack(), (std::vector<int32_t>{7, 8}));
}

TEST_F(ArrayNativesTest, ForgedVectorsEndInOrderlyErrors)
{
    // Each forgery is a separate array whose vector words were overwritten by the image.
    auto forged = [&](uint32_t offset, uint32_t value) {
        const uint32_t a = array(kInts, {1, 2, 3});
        mem.store32(vector(a) + offset, value);
        return a;
    };
    const uint32_t other = vm.heap().allocate(64, 0, GC_CODE_STRING);
    const std::vector<uint32_t> forgeries = {
        forged(VectorLayout::kSize, 11),             // more elements than room
        forged(VectorLayout::kCapacity, 0x40000000), // room far beyond its storage
        forged(VectorLayout::kElementSize, 8),       // the wrong element width
        forged(VectorLayout::kData, other),          // storage that is not element storage
        forged(VectorLayout::kData, 0xfffffff0),     // outside guest memory
        forged(VectorLayout::kData, 8),              // inside the null page
    };
    for (uint32_t a : forgeries) {
        for (const auto& operands : {std::vector<int64_t>{a, 0}, {a}, {a, 4}, {a, 0, 1}}) {
            for (int op : {6, 8, 11, 19, 25, 82}) {
                const size_t needed = op == 11 || op == 25 ? 1 : op == 82 ? 3 : 2;
                if (operands.size() != needed) continue;
                vm.setSp(-1);
                for (int64_t word : operands)
                    vm.pushWord(static_cast<int32_t>(word));
                EXPECT_EQ(zelmo::testing::errorCodeOf([&] { vm.dispatchNative(kInts, op); }),
                          kFatal)
                    << op;
            }
        }
    }
    // A vector handle that is not aligned, or points outside guest memory.
    const uint32_t value = variable();
    mem.store32(value, vector(array(kInts, {1})) + 2);
    EXPECT_EQ(failure(kInts, 11, {value}), kFatal);
    mem.store32(value, 0xfffffff8);
    EXPECT_EQ(failure(kInts, 11, {value}), kFatal);

    // A freed storage block is refused instead of being written through.
    const uint32_t a = array(kInts, {1, 2, 3});
    vm.heap().release(storage(a));
    EXPECT_EQ(failure(kInts, 19, {a, 4}), kFatal);
}

} // namespace
