// SPDX-License-Identifier: MIT
#include "graphics/BitmapLimits.h"

#include "Base/Errors.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <limits>
#include <string>

namespace zelmo::graphics {

bool fitsBitmapLimits(int64_t width, int64_t height)
{
    return width >= 0 && height >= 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           width * height <= kMaxBitmapPixels;
}

void requireBitmapSize(int64_t width, int64_t height)
{
    if (!fitsBitmapLimits(width, height))
        throwError(kInvalidArgument,
                   "Bitmap too large: " + std::to_string(width) + " x " + std::to_string(height));
}

QImage decodeImage(const uint8_t* data, size_t size)
{
    if (!data || size == 0 || size > size_t(std::numeric_limits<int>::max())) return {};
    // Qt's own bound is far above ours; it also covers formats whose header tells no size.
    QImageReader::setAllocationLimit(kDecoderAllocationLimitMiB);
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize announced = reader.size(); // reads the header only
    if (announced.isValid() && !fitsBitmapLimits(announced.width(), announced.height())) return {};
    QImage image;
    if (!reader.read(&image) || !fitsBitmapLimits(image.width(), image.height())) return {};
    return image;
}

} // namespace zelmo::graphics
