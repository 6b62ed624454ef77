// SPDX-License-Identifier: MIT
// Helpers for the graphics tests: pixel comparison, expected images and managed errors.
#pragma once

#include "../ErrorCodeOf.h"
#include "graphics/BitmapContainer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPixmap>

#include <string>

namespace zelmo::graphics::testing {

inline QImage argb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The bitmap's current pixels, read without switching its mode.
inline QImage pixelsOf(const BitmapContainer& bitmap)
{
    return bitmap.isImageMode() ? bitmap.image() : argb(bitmap.pixmap());
}

inline std::vector<uint8_t> encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

inline QImage filled(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// Sets every pixel of `rect` to `color` exactly (for expected pictures).
inline void paint(QImage& image, const QRect& rect, QRgb color)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            image.setPixel(x, y, color);
}

// Exact comparison that names the first pixel that differs.
inline ::testing::AssertionResult sameImage(const QImage& actual, const QImage& expected)
{
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != e.size())
        return ::testing::AssertionFailure() << "size " << a.width() << "x" << a.height()
                                             << " instead of " << e.width() << "x" << e.height();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != e.pixel(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << a.pixel(x, y)
                       << " instead of " << e.pixel(x, y);
    return ::testing::AssertionSuccess();
}

// Runs `call`, which must raise the managed error `code` with exactly `message`.
template <class Call>
::testing::AssertionResult raises(int32_t code, const std::string& message, Call call)
{
    const std::string expected = std::to_string(code) + " " + toUtf8(errorName(code)) +
                                 (message.empty() ? "" : ": " + message);
    const std::string actual = zelmo::testing::failureOf(call);
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "raised \"" << actual << "\"";
}

} // namespace zelmo::graphics::testing
