// SPDX-License-Identifier: MIT
#include "window/TestPattern.h"

namespace zelmo {

std::vector<PatternRect> testPattern(QSize logical, int frame)
{
    const int w = logical.width(), h = logical.height();
    return {
        {0, 0, w, h, qRgb(32, 64, 96)},              // background, never black
        {0, 0, 100, 60, qRgb(255, 0, 0)},            // top-left: orientation
        {w - 100, h - 60, 100, 60, qRgb(0, 255, 0)}, // bottom-right
        {w / 2, 0, 1, h, qRgb(255, 255, 255)},       // one-pixel lines: no blur
        {0, h / 2, w, 1, qRgb(255, 255, 255)},
        {w / 4, h / 4, 50, 50, qRgb((frame * 40) & 0xff, 200, 50)}, // which frame
    };
}

QRgb testPatternPixel(QSize logical, int frame, int x, int y)
{
    QRgb color = 0;
    for (const PatternRect& r : testPattern(logical, frame))
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) color = r.color;
    return color;
}

} // namespace zelmo
