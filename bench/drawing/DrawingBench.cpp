// SPDX-License-Identifier: MIT
// The QImage/QPainter calls of bench/drawing/drawing.asm made directly, for comparison with the
// runtime: 1,000,000 setPixel/pixel pairs on a 64 x 64 ARGB32 image, 100,000 16 x 16 fillRect
// calls into a 64 x 64 pixmap and 10,000 strings of 12 image-font glyphs. Prints nanoseconds
// per operation. Usage: zelmo-drawing-bench FONT.png
#include "graphics/TarnelFont.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

using namespace zelmo;

namespace {

void report(const char* what, int count, qint64 nanoseconds)
{
    std::printf("%-36s %9d  %8.1f ns each\n", what, count, double(nanoseconds) / count);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: zelmo-drawing-bench FONT.png\n", stderr);
        return 2;
    }
    QElapsedTimer timer;

    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(0xFF000000);
    uint32_t sum = 0;
    timer.start();
    for (int i = 0; i < 1000000; ++i) {
        image.setPixel(i & 63, i / 64 & 63, uint32_t(i));
        sum += image.pixel(i & 63, i / 64 & 63);
    }
    report("setPixel/pixel pairs", 1000000, timer.nsecsElapsed());

    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::black);
    {
        QPainter painter(&pixmap);
        timer.restart();
        for (int i = 0; i < 100000; ++i)
            painter.fillRect(QRect(i & 31, 0, 16, 16), QColor::fromRgba(uint32_t(i)));
        report("fillRect 16 x 16", 100000, timer.nsecsElapsed());
    }

    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) return 1;
    const QByteArray bytes = file.readAll();
    auto font = graphics::TarnelFont::decode(reinterpret_cast<const uint8_t*>(bytes.data()),
                                             size_t(bytes.size()));
    if (!font) return 1;
    const OString text(u"! \"! \"! \"! \"");
    {
        QPainter painter(&pixmap);
        timer.restart();
        for (int i = 0; i < 10000; ++i)
            font->draw(painter, text, 0, text.length(), {0, i & 31}, uint32_t(i));
        report("image-font strings of 12 glyphs", 10000, timer.nsecsElapsed());
    }
    return sum == 42 ? 3 : 0; // keeps the pixel reads
}
