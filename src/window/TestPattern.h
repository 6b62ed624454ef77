// SPDX-License-Identifier: MIT
// For tests only: a fixed picture painted into the logical screen in place of an application's
// own OpenGL drawing, switched on by the environment variable ZELMO_TEST_PATTERN ("1": the
// same picture every frame; "animate": a frame counter in the picture and a repaint request
// after every frame). The window
// tests compare screenshots and screen grabs with it pixel by pixel. Users never set it.
#pragma once

#include <QRgb>
#include <QSize>
#include <vector>

namespace zelmo {

struct PatternRect {
    int x, y, width, height; // logical pixels, y downwards
    QRgb color;
};

// The picture for frame `frame` (from 1) of a logical screen: rectangles painted in order, the
// first covering the whole screen.
std::vector<PatternRect> testPattern(QSize logical, int frame);

// The colour of one logical pixel of that picture.
QRgb testPatternPixel(QSize logical, int frame, int x, int y);

} // namespace zelmo
