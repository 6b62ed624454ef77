// SPDX-License-Identifier: MIT
// Drawing contexts: the drawing operations pixel by pixel, the opacity rule, and drawing a
// bitmap into itself.
#include "GraphicsTestSupport.h"

#include "graphics/GraphicsContainer.h"
#include "graphics/NativeFont.h"

#include <QPainter>

namespace zelmo::graphics {
namespace {

using testing::argb;
using testing::filled;
using testing::paint;
using testing::pixelsOf;
using testing::raises;
using testing::sameImage;

std::unique_ptr<BitmapContainer> solidBitmap(int width, int height, QRgb color)
{
    auto bitmap = BitmapContainer::create(width, height);
    bitmap->fill(color);
    return bitmap;
}

// A 3 x 2 source with a distinct colour in every pixel, and the colour at (x, y).
QRgb patternAt(int x, int y)
{
    return 0xFF000000 | uint32_t(0x40 * (x + 1)) << 16 | uint32_t(0x70 * (y + 1)) << 8;
}
std::unique_ptr<BitmapContainer> patternBitmap()
{
    auto bitmap = BitmapContainer::create(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bitmap->setPixel(x, y, patternAt(x, y));
    return bitmap;
}

TEST(Drawing, FillsRectanglesAndLinesPixelByPixel)
{
    auto bitmap = solidBitmap(12, 10, 0xFF000000);
    {
        GraphicsContainer g(*bitmap);
        g.fillAll(0xFF0000FF);
        g.fillRect({2, 3, 4, 5}, 0xFFFF0000);
        g.fillRect({10, 8, INT32_MAX, INT32_MAX}, 0xFFFFFF00); // far edges: no overflow
        g.drawLine({1, 1}, {8, 1}, 0xFF00FF00);
        g.drawLine({11, 2}, {11, 6}, 0xFFFFFFFF);
        g.drawLine({INT32_MIN, 9}, {INT32_MAX, 9}, 0xFF808080);
    }
    QImage expected = filled(12, 10, 0xFF0000FF);
    paint(expected, {2, 3, 4, 5}, 0xFFFF0000);
    paint(expected, {10, 8, 2, 2}, 0xFFFFFF00);
    paint(expected, {1, 1, 8, 1}, 0xFF00FF00);
    paint(expected, {11, 2, 1, 5}, 0xFFFFFFFF);
    paint(expected, {0, 9, 12, 1}, 0xFF808080);
    EXPECT_TRUE(sameImage(pixelsOf(*bitmap), expected));
}

TEST(Drawing, RegionsAndTilesLandWhereTheyShould)
{
    auto source = patternBitmap();
    auto bitmap = solidBitmap(9, 7, 0xFF000000);
    {
        GraphicsContainer g(*bitmap);
        g.drawBitmapRegion(source.get(), {0, 0}, {1, 0, 2, 2}, 255);
        // A region that starts left of the source keeps each pixel at its place.
        g.drawBitmapRegion(source.get(), {4, 0}, {-1, 1, 3, 1}, 255);
        g.drawTiled(source.get(), {1, 3, 7, 4}, {1, -1});
        g.drawTiled(source.get(), {0, 0, 0, 0}, {INT32_MIN, INT32_MAX});
    }
    QImage expected = filled(9, 7, 0xFF000000);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            expected.setPixel(x, y, patternAt(x + 1, y));
    expected.setPixel(5, 0, patternAt(0, 1));
    expected.setPixel(6, 0, patternAt(1, 1));
    // A copy's top-left corner falls at (1 + 1, 3 - 1): pixel (x, y) shows source
    // ((x - 2) mod 3, (y - 2) mod 2).
    for (int y = 3; y < 7; ++y)
        for (int x = 1; x < 8; ++x)
            expected.setPixel(x, y, patternAt(((x - 2) % 3 + 3) % 3, ((y - 2) % 2 + 2) % 2));
    EXPECT_TRUE(sameImage(pixelsOf(*bitmap), expected));
}

TEST(Drawing, DrawingIntoItselfReadsACopyExceptPlainDrawBitmap)
{
    auto bitmap = BitmapContainer::create(8, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap->setPixel(x, y, 0xFF000000 | uint32_t(x * 30) << 16 | uint32_t(y * 40));
    const QPixmap before = QPixmap::fromImage(pixelsOf(*bitmap));
    GraphicsContainer g(*bitmap);
    g.drawBitmap(bitmap.get(), {1, 0}, 255); // nothing
    EXPECT_TRUE(sameImage(argb(*g.target()), argb(before)));
    g.drawBitmapRegion(bitmap.get(), {1, 1}, {0, 0, 6, 4}, 255);
    g.drawTiled(bitmap.get(), {0, 2, 8, 4}, {3, 1});
    g.drawTransformed(bitmap.get(), {4, 3}, 0, 2, 2, 255);
    // The same operations, each reading the pixels as they were before it.
    QPixmap expected = before;
    {
        QPainter p(&expected);
        p.drawPixmap(QPoint(1, 1), expected.copy(), QRect(0, 0, 6, 4));
        p.drawTiledPixmap(QRect(0, 2, 8, 4), expected.copy(), QPoint(8 - 3, 6 - 1));
        const QPixmap last = expected.copy();
        p.translate(4, 3);
        p.scale(2, 2);
        p.translate(-4, -3);
        p.drawPixmap(0, 0, last);
    }
    EXPECT_TRUE(sameImage(argb(*g.target()), argb(expected)));
}

TEST(Drawing, OpacityAndTransformsMatchQPainterAndOpacityIsRestored)
{
    auto source = patternBitmap();
    source->sharedPixmap();
    auto bitmap = solidBitmap(40, 30, 0xFF102030);
    QPixmap reference = bitmap->pixmap().copy();
    {
        GraphicsContainer g(*bitmap);
        g.drawBitmap(source.get(), {1, 1}, 128);
        g.drawBitmapRegion(source.get(), {6, 1}, {0, 0, 2, 2}, 77);
        g.drawTransformed(source.get(), {20, 15}, 0.7, 3.0, 2.5, 200);
        g.fillRect({30, 0, 2, 2}, 0xFFFFFFFF); // no opacity left behind
    }
    {
        QPainter p(&reference);
        p.setOpacity(128 / 255.0);
        p.drawPixmap(1, 1, source->pixmap());
        p.setOpacity(77 / 255.0);
        p.drawPixmap(QPoint(6, 1), source->pixmap(), QRect(0, 0, 2, 2));
        p.setOpacity(200 / 255.0);
        p.translate(20, 15);
        p.rotate(-(0.7 * 180 / 3.141));
        p.scale(3.0, 2.5);
        p.translate(-1, -1);
        p.drawPixmap(0, 0, source->pixmap());
        p.resetTransform();
        p.setOpacity(1);
        p.fillRect(30, 0, 2, 2, QColor(0xFF, 0xFF, 0xFF));
    }
    EXPECT_TRUE(sameImage(pixelsOf(*bitmap), argb(reference)));

    // Angle 0 and scale 1: the source is centred on the position.
    auto centred = solidBitmap(7, 6, 0xFF000000);
    {
        GraphicsContainer g(*centred);
        g.drawTransformed(source.get(), {3, 2}, 0, 1, 1, 255);
    }
    QImage expected = filled(7, 6, 0xFF000000);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            expected.setPixel(2 + x, 1 + y, patternAt(x, y));
    EXPECT_TRUE(sameImage(pixelsOf(*centred), expected));
}

} // namespace
} // namespace zelmo::graphics
