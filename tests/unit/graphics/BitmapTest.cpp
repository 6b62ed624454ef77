// SPDX-License-Identifier: MIT
// Bitmaps: fills and pixels in either form, encoding and the size limits. (How often a bitmap
// changes form is a matter of speed, for bench/.)
#include "GraphicsTestSupport.h"

#include "graphics/BitmapLimits.h"
#include "graphics/TarnelFont.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <zlib.h>

namespace zelmo::graphics {
namespace {

using testing::encoded;
using testing::filled;
using testing::pixelsOf;
using testing::raises;
using testing::sameImage;

TEST(Bitmap, FillsAndPixelsKeepTheWholeWord)
{
    auto bitmap = BitmapContainer::create(4, 3);
    EXPECT_EQ(bitmap->size(), QSize(4, 3));

    bitmap->fill(0x80112233); // translucent: stored unblended
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bitmap->getPixel(x, y), 0x80112233u);
    bitmap->setPixel(1, 2, 0x00000000);
    EXPECT_EQ(bitmap->getPixel(1, 2), 0x00000000u);

    bitmap->fill(0xFF445566);
    EXPECT_TRUE(sameImage(pixelsOf(*bitmap), filled(4, 3, 0xFF445566)));

    // Access outside the bitmap is ignored rather than reaching past the pixels.
    EXPECT_EQ(bitmap->getPixel(4, 0), 0u);
    bitmap->setPixel(-1, 0, 0xFFFFFFFF);
    EXPECT_EQ(bitmap->getPixel(3, 2), 0xFF445566u);
}

TEST(Bitmap, EncodesWhatQtWritesAndDecodesItBack)
{
    auto bitmap = BitmapContainer::create(5, 4);
    bitmap->fill(0xFF204060);
    bitmap->setPixel(4, 3, 0xFFFFFFFF);
    std::vector<uint8_t> png;
    ASSERT_TRUE(bitmap->encode(png, "png"));
    auto decoded = BitmapContainer::decode(png.data(), png.size());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(sameImage(pixelsOf(*decoded), pixelsOf(*bitmap)));

    for (const char* format : {"gif", ""}) {
        std::vector<uint8_t> bytes;
        EXPECT_FALSE(bitmap->encode(bytes, format)) << format;
        EXPECT_TRUE(bytes.empty()) << format;
    }
    std::vector<uint8_t> none;
    EXPECT_FALSE(BitmapContainer::create(0, 0)->encode(none, "png"));
    EXPECT_FALSE(BitmapContainer::decode(png.data(), 20)); // truncated
    EXPECT_FALSE(BitmapContainer::decode(nullptr, 0));
}

// A 1 x 1 picture whose header is patched to announce 60000 x 60000.
std::vector<uint8_t> forged(const char* format)
{
    std::vector<uint8_t> bytes = encoded(filled(1, 1, 0xFF000000), format);
    if (std::string_view(format) == "png") {
        qToBigEndian(uint32_t(60000), bytes.data() + 16);
        qToBigEndian(uint32_t(60000), bytes.data() + 20);
        qToBigEndian(uint32_t(crc32(0, bytes.data() + 12, 17)), bytes.data() + 29);
    } else {
        qToLittleEndian(int32_t(60000), bytes.data() + 18);
        qToLittleEndian(int32_t(60000), bytes.data() + 22);
    }
    return bytes;
}

QSize announcedSize(const std::vector<uint8_t>& bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

TEST(Bitmap, SizeLimitsRefuseBeforeAllocating)
{
    EXPECT_TRUE(fitsBitmapLimits(4096, 4096));
    EXPECT_FALSE(fitsBitmapLimits(4096, 4097));
    EXPECT_TRUE(fitsBitmapLimits(32767, 512));
    EXPECT_FALSE(fitsBitmapLimits(-1, 1));
    EXPECT_TRUE(raises(kInvalidArgument, "Bitmap too large: 5000 x 5000",
                       [] { BitmapContainer::create(5000, 5000); }));
    auto source = BitmapContainer::create(2, 2);
    source->fill(0xFF000000);
    EXPECT_TRUE(raises(kInvalidArgument, "Bitmap too large: 40000 x 2", [&] {
        source->copyFrom(source.get(), {0, 0, 40000, 2});
    }));

    // A real 40000 x 1 picture is far below Qt's own allocation bound: only the side limit
    // refuses it.
    const std::vector<uint8_t> wide = encoded(filled(40000, 1, 0xFF00FF00), "png");
    EXPECT_EQ(announcedSize(wide), QSize(40000, 1));
    EXPECT_EQ(announcedSize(forged("png")), QSize(60000, 60000));
    for (const std::vector<uint8_t>& picture : {forged("png"), forged("bmp"), wide}) {
        EXPECT_FALSE(BitmapContainer::decode(picture.data(), picture.size()));
        EXPECT_FALSE(TarnelFont::decode(picture.data(), picture.size()));
    }
}

} // namespace
} // namespace zelmo::graphics
