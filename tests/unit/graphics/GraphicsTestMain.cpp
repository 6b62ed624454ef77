// SPDX-License-Identifier: MIT
// Runs the graphics tests inside a QGuiApplication, on Qt's offscreen platform unless the
// environment names another. With --dump-scene FILE it instead renders one scene that uses
// every kind of drawing and writes its raw ARGB32 pixels, so that two platforms can be compared
// byte for byte (run-on-display.sh does that under Xvfb).
#include "graphics/BitmapContainer.h"
#include "graphics/GraphicsContainer.h"
#include "graphics/TarnelFont.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>

#include <cstring>

namespace {

using namespace zelmo;
using namespace zelmo::graphics;

int dumpScene(const char* path)
{
    auto target = BitmapContainer::create(200, 120);
    target->fill(0xFF102030);
    auto sprite = BitmapContainer::create(16, 12);
    sprite->fill(0xFFC08040);
    sprite->setPixel(3, 4, 0x80FFFFFF);
    QImage fontPicture(12, 9, QImage::Format_ARGB32);
    fontPicture.fill(0xFF000000);
    for (int y = 0; y < 8; ++y)
        for (int x = 1; x < 12; ++x)
            fontPicture.setPixel(x, y, 0xFF000000 | uint32_t((x * 23 + y * 31) & 0xFF));
    fontPicture.setPixel(6, 8, 0xFFFFFFFF);
    fontPicture.setPixel(10, 8, 0xFFFFFFFF);
    TarnelFont font(fontPicture);
    {
        GraphicsContainer g(*target);
        g.fillRect({5, 5, 50, 20}, 0xFFFF0000);
        g.fillRect({30, 10, 50, 40}, 0x8000FF00);
        g.drawLine({0, 100}, {199, 60}, 0xFFFFFF00);
        g.drawNativeText(OString(u"Zelmo gq"), 0, 8, {10, 40}, 0xFFFFFFFF);
        g.drawBitmap(sprite.get(), {150, 10}, 128);
        g.drawTransformed(sprite.get(), {160, 80}, 0.6, 1.5, 2.0, 200);
        g.drawTiled(sprite.get(), {100, 95, 90, 20}, {3, 5});
        g.drawImageFontText(OString(u" ! !"), 0, 4, {20, 100}, 0xC0FF8000, font);
    }
    const QImage pixels = target->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly)) return 1;
    const auto* bytes = reinterpret_cast<const char*>(pixels.constBits());
    return out.write(bytes, pixels.sizeInBytes()) == pixels.sizeInBytes() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--dump-scene") == 0) return dumpScene(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
