// SPDX-License-Identifier: MIT
// The graphics handle record in the managed heap: lazy contexts, closing before direct access,
// forged handles and collection.
#include "GraphicsTestSupport.h"

#include "VirtualMachine/VirtualMachine.h"
#include "graphics/GraphicsRecord.h"
#include "graphics/NativeFont.h"

namespace zelmo::graphics {
namespace {

using testing::filled;
using testing::paint;
using testing::pixelsOf;
using testing::raises;
using testing::sameImage;

class GraphicsRecordTest : public ::testing::Test {
protected:
    VMHeap& heap() { return vm.heap(); }
    uint32_t word(uint32_t address) { return vm.memory().load32(address); }
    uint32_t newRecord(int width, int height, QRgb color)
    {
        auto bitmap = BitmapContainer::create(width, height);
        bitmap->fill(color);
        return GraphicsRecord::create(heap(), std::move(bitmap));
    }
    VirtualMachine vm;
};

TEST_F(GraphicsRecordTest, ContextIsMadeOnFirstDrawClosedBeforeDirectAccessAndReopened)
{
    const uint32_t handle = newRecord(4, 4, 0xFF000000);
    GraphicsRecord record(heap(), handle);
    EXPECT_EQ(record.kind(), kBitmapRecord);
    EXPECT_EQ(word(handle + RecordLayout::kContext), 0u);

    GraphicsContainer& first = record.context();
    const uint32_t firstHandle = word(handle + RecordLayout::kContext);
    EXPECT_NE(firstHandle, 0u);
    EXPECT_EQ(&record.context(), &first); // cached while open
    first.fillRect({0, 0, 2, 2}, 0xFFFF0000);

    record.closeContext();
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(word(handle + RecordLayout::kContext), 0u);
    EXPECT_EQ(record.bitmap()->getPixel(1, 1), 0xFFFF0000u);
    record.bitmap()->setPixel(3, 3, 0xFF00FF00);

    GraphicsContainer& second = record.context(); // a new one, on the converted pixmap
    EXPECT_TRUE(second.isOpen());
    EXPECT_NE(word(handle + RecordLayout::kContext), firstHandle);
    second.fillRect({0, 3, 1, 1}, 0xFF0000FF);
    record.closeContext();
    QImage expected = filled(4, 4, 0xFF000000);
    paint(expected, {0, 0, 2, 2}, 0xFFFF0000);
    expected.setPixel(3, 3, 0xFF00FF00);
    expected.setPixel(0, 3, 0xFF0000FF);
    EXPECT_TRUE(sameImage(pixelsOf(*record.bitmap()), expected));
}

TEST_F(GraphicsRecordTest, ForgedHandlesNeverReachHostMemory)
{
    const uint32_t good = newRecord(2, 2, 0xFF000000);
    const uint32_t bitmapHandle = word(good + RecordLayout::kBitmap);
    const uint32_t font = createFontBox(heap(), std::make_unique<NativeFont>());
    const uint32_t plainData = heap().allocate(12, 0, GC_CODE_NATIVE);
    vm.memory().store32(plainData, word(bitmapHandle)); // a valid object index in plain data
    const uint32_t shortPair = heap().allocate(8, 0, GC_CODE_PAIR);
    vm.memory().store32(shortPair, kBitmapRecord);

    for (uint32_t forged : {uint32_t(0x1234), good + 4, bitmapHandle, font, shortPair})
        EXPECT_TRUE(raises(kVMException, "Invalid graphics handle", [&] {
            GraphicsRecord(heap(), forged);
        })) << forged;
    const uint32_t wrongKind = newRecord(1, 1, 0xFF000000);
    vm.memory().store32(wrongKind, 3);
    EXPECT_TRUE(raises(kVMException, "Invalid graphics handle",
                       [&] { GraphicsRecord(heap(), wrongKind); }));

    // Words inside a good record that name the wrong things.
    GraphicsRecord record(heap(), good);
    for (uint32_t forged : {word(font), plainData, font, uint32_t(0xFFFFFFF0)}) {
        vm.memory().store32(good + RecordLayout::kBitmap, forged);
        EXPECT_TRUE(raises(kVMException, "Invalid graphics handle", [&] { record.size(); }));
        vm.memory().store32(good + RecordLayout::kBitmap, bitmapHandle);
        vm.memory().store32(good + RecordLayout::kContext, forged);
        EXPECT_TRUE(raises(kVMException, "Invalid graphics handle", [&] { record.context(); }));
        vm.memory().store32(good + RecordLayout::kContext, 0);
    }
    vm.memory().store32(good + RecordLayout::kContext, bitmapHandle); // a bitmap, not a context
    EXPECT_TRUE(raises(kVMException, "Invalid graphics handle", [&] { record.closeContext(); }));
    vm.memory().store32(good + RecordLayout::kContext, 0);

    EXPECT_EQ(fontAt(heap(), 0), nullptr);
    EXPECT_EQ(fontAt(heap(), word(font))->type(), CAppsFont::kNative);
    for (uint32_t forged : {font, bitmapHandle, good, uint32_t(0x1234)})
        EXPECT_TRUE(raises(kVMException, "Invalid font handle", [&] { fontAt(heap(), forged); }));
}

TEST_F(GraphicsRecordTest, HeapOwnsTheObjects)
{
    const uint32_t handle = newRecord(20, 10, 0xFF000000);
    GraphicsRecord record(heap(), handle);
    record.context();
    createFontBox(heap(), std::make_unique<NativeFont>());
    EXPECT_EQ(heap().objects().liveCount(), 3u);
    record.closeContext();
    heap().addRoot(handle);
    heap().collect(); // the record keeps its bitmap; the closed context and the font go
    EXPECT_EQ(heap().objects().liveCount(), 1u);
    EXPECT_EQ(GraphicsRecord(heap(), handle).size(), QSize(20, 10));
    heap().removeRoot(handle);
    heap().collect();
    EXPECT_EQ(heap().objects().liveCount(), 0u);
}

} // namespace
} // namespace zelmo::graphics
