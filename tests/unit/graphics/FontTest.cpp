// SPDX-License-Identifier: MIT
// Fonts: image fonts cut from a picture, their colour table and drawing, and font values in the
// heap made by the file loader shared with pictures.
#include "GraphicsTestSupport.h"

#include "IO/HostFileServices.h"
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "graphics/FontCreation.h"
#include "graphics/GraphicsContainer.h"
#include "graphics/GraphicsFileLoader.h"
#include "graphics/GraphicsRecord.h"
#include "graphics/NativeFont.h"
#include "graphics/TarnelFont.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace zelmo::graphics {
namespace {

using testing::argb;
using testing::encoded;
using testing::filled;
using testing::paint;
using testing::pixelsOf;
using testing::raises;
using testing::sameImage;

// The coverage of glyph pixel (x, y): every value from 0 to 255 appears somewhere.
uint8_t coverageAt(int x, int y)
{
    return uint8_t(x == 2 ? 0 : x == 5 ? 255 : (x * 37 + y * 53) & 0xFF);
}

// A 10 x 9 font picture: gauge rows 0-5 in column 0, markers at columns 4 and 7, and a mark at
// column 1 that is no marker (markers start at column 2).
QImage examplePicture()
{
    QImage picture(10, 9, QImage::Format_ARGB32);
    picture.fill(0xFF000000);
    for (int y = 0; y < 6; ++y)
        picture.setPixel(0, y, 0xFF000080);
    for (int y = 0; y < 8; ++y)
        for (int x = 1; x < 10; ++x)
            picture.setPixel(x, y, 0xFF123400 | coverageAt(x, y)); // blue is the sample
    for (int x : {1, 4, 7})
        picture.setPixel(x, 8, 0xFF000001);
    return picture;
}

TEST(ImageFont, IsCutFromMarkersAndMeasuresByGlyphWidths)
{
    TarnelFont font(examplePicture());
    EXPECT_EQ(font.type(), CAppsFont::kImage);
    EXPECT_EQ(font.height(), 8);
    EXPECT_EQ(font.ascent(), 6);
    // (Where each glyph's pixels come from: the drawing test below.)
    const OString text(u" !\x01~ !");
    EXPECT_EQ(font.width(text, 0, 6), 12); // characters below 32 or past the table add 0
    EXPECT_EQ(font.width(text, 4, 99), 6); // the run stops at the text's end
    EXPECT_EQ(font.width(text, -5, 6), 3);
    EXPECT_EQ(font.fit(text, 0, 6, 2), 0);
    EXPECT_EQ(font.fit(text, 0, 6, 12), 6);
    EXPECT_EQ(font.fit(text, 0, 6, 11), 5);
    EXPECT_EQ(font.fit(text, 2, 3, 0), 2); // glyph-less characters always fit

    QImage tall = examplePicture();
    paint(tall, {0, 0, 1, 9}, 0xFFFFFFFF);
    paint(tall, {2, 8, 8, 1}, 0xFF000000);
    TarnelFont noGlyphs(tall);
    EXPECT_EQ(noGlyphs.ascent(), 8); // the gauge counts at most the glyph height
    EXPECT_EQ(noGlyphs.width(text, 0, 6), 0);
}

TEST(ImageFont, DrawsCoverageTimesColourAndTranslucentColoursAsOpacity)
{
    TarnelFont font(examplePicture());
    auto bitmap = BitmapContainer::create(12, 10);
    bitmap->fill(0xFF000000);
    const QRgb color = 0xFF20A0F0;
    {
        GraphicsContainer g(*bitmap);
        g.drawImageFontText(OString(u"x !x"), 1, 2, {2, 1}, color, font);
    }
    QImage expected = filled(12, 10, 0xFF000000);
    for (int y = 0; y < 8; ++y)
        for (int x = 1; x < 7; ++x) // glyphs ' ' and '!' are columns 1-6, drawn side by side
            expected.setPixel(1 + x, 1 + y,
                              qPremultiply(qRgba(0x20, 0xA0, 0xF0, coverageAt(x, y))) | 0xFF000000);
    EXPECT_TRUE(sameImage(pixelsOf(*bitmap), expected));

    // A translucent colour acts as opacity over the opaque glyphs.
    auto translucent = BitmapContainer::create(8, 9);
    translucent->fill(0xFF302010);
    QPixmap reference = translucent->pixmap().copy();
    {
        GraphicsContainer g(*translucent);
        g.drawImageFontText(OString(u"!"), 0, 1, {1, 1}, 0x9020A0F1, font);
    }
    EXPECT_EQ(font.pixelData().color(200), 0xC820A0F1u);
    {
        QPainter p(&reference);
        p.setOpacity(0x90 / 255.0);
        p.drawPixmap(QPoint(1, 1), QPixmap::fromImage(font.pixelData()), QRect(4, 0, 3, 8));
    }
    EXPECT_TRUE(sameImage(pixelsOf(*translucent), argb(reference)));
}

// The application's files in a folder; "broken" announces ten bytes that cannot be read.
class Files final : public HostFileServices {
public:
    explicit Files(const QString& folder) : HostFileServices(folder.toStdU16String()), m_dir(folder)
    {
    }
    void add(const QString& name, const std::vector<uint8_t>& bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
    std::unique_ptr<TARNEL::InputStream> openFileReader(const std::u16string& path) override
    {
        struct Broken final : TARNEL::MemoryInputStream {
            Broken() : MemoryInputStream(std::vector<TARNEL::TUint8>(10)) {}
            int readByte() override { return -1; }
            bool read(TARNEL::TUint8*, TARNEL::TUint32) override { return false; }
        };
        if (path == u"broken") return std::make_unique<Broken>();
        return HostFileServices::openFileReader(path);
    }

private:
    QDir m_dir;
};

TEST(FontValues, CreationResultsAndMessages)
{
    VirtualMachine vm;
    VMHeap& heap = vm.heap();
    const uint32_t native = createDefaultFontValue(heap);
    EXPECT_EQ(heap.entryOf(native)->gcCode, GC_CODE_REFERENCE);
    EXPECT_EQ(heap.entryOf(vm.memory().load32(native))->gcCode, GC_CODE_FONT);
    EXPECT_EQ(fontAt(heap, vm.memory().load32(native))->height(), NativeFont().height());

    const std::vector<uint8_t> png = encoded(examplePicture(), "png");
    const uint32_t decoded = decodeImageFontValue(heap, png);
    CAppsFont* font = fontAt(heap, vm.memory().load32(decoded));
    EXPECT_EQ(font->type(), CAppsFont::kImage);
    EXPECT_EQ(font->height(), 8);

    EXPECT_TRUE(
        raises(kInvalidArgument, "byte[] is empty", [&] { decodeImageFontValue(heap, {}); }));

    QTemporaryDir folder;
    Files files(folder.path());
    files.add("font.png", png);
    files.add("empty.png", {});
    files.add("junk.png", {'j', 'u', 'n', 'k'});
    const uint32_t loaded = loadImageFontValue(heap, files, u"font.png");
    EXPECT_EQ(fontAt(heap, vm.memory().load32(loaded))->width(OString(u" !"), 0, 2), 6);
    EXPECT_TRUE(
        raises(kInvalidArgument, "", [&] { loadImageFontValue(heap, files, u"junk.png"); }));
    EXPECT_EQ(loadPicture(files, u"font.png")->size(), QSize(10, 9));
    EXPECT_EQ(loadPicture(files, u"junk.png"), nullptr);
    // The reader's own failures are the same for pictures and fonts.
    for (bool picture : {true, false}) {
        const auto load = [&](const std::u16string& path) {
            if (picture)
                loadPicture(files, path);
            else
                loadImageFontValue(heap, files, path);
        };
        EXPECT_TRUE(raises(kInvalidArgument, "Filename is empty", [&] { load(u""); }));
        EXPECT_TRUE(raises(kIO, "Could not open file: missing.png", [&] { load(u"missing.png"); }));
        EXPECT_TRUE(raises(kInvalidArgument, "File is empty", [&] { load(u"empty.png"); }));
        EXPECT_TRUE(raises(kIO, "", [&] { load(u"broken"); }));
    }
}

} // namespace
} // namespace zelmo::graphics
