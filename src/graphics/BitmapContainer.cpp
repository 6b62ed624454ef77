// SPDX-License-Identifier: MIT
#include "graphics/BitmapContainer.h"

#include "graphics/BitmapLimits.h"
#include "graphics/BitmapTextures.h"

#include <QBuffer>
#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <string>

namespace zelmo::graphics {

BitmapContainer* asBitmapContainer(VMBitmap* source)
{
    auto* bitmap = dynamic_cast<BitmapContainer*>(source);
    if (!bitmap) qWarning("Null BitmapContainer");
    return bitmap;
}

BitmapContainer::BitmapContainer(const QPixmap& pixmap)
    : m_pixmap(QSharedPointer<QPixmap>::create(pixmap))
{
}

BitmapContainer::~BitmapContainer() = default;

std::unique_ptr<BitmapContainer> BitmapContainer::create(int32_t width, int32_t height)
{
    requireBitmapSize(width, height);
    return std::make_unique<BitmapContainer>(QPixmap(width, height));
}

std::unique_ptr<BitmapContainer> BitmapContainer::copy(const BitmapContainer& source)
{
    const QSize size = source.size();
    requireBitmapSize(size.width(), size.height());
    if (source.isImageMode())
        return std::make_unique<BitmapContainer>(QPixmap::fromImage(source.m_image));
    return std::make_unique<BitmapContainer>(source.m_pixmap->copy());
}

std::unique_ptr<BitmapContainer> BitmapContainer::decode(const uint8_t* data, size_t size)
{
    const QImage image = decodeImage(data, size);
    if (image.isNull()) return nullptr;
    return std::make_unique<BitmapContainer>(QPixmap::fromImage(image));
}

bool BitmapContainer::toImageMode()
{
    if (!m_image.isNull()) return true;
    if (m_pixmap->isNull()) return false;
    m_image = m_pixmap->toImage().convertToFormat(QImage::Format_ARGB32);
    ++m_conversions;
    return !m_image.isNull();
}

QSharedPointer<QPixmap> BitmapContainer::sharedPixmap()
{
    if (!m_image.isNull()) {
        m_pixmap = QSharedPointer<QPixmap>::create(QPixmap::fromImage(m_image));
        m_image = QImage();
        ++m_conversions;
    }
    return m_pixmap;
}

void BitmapContainer::replacePixmap(const QPixmap& pixmap)
{
    // The new pixels are the current ones: a stale image must not outlive them.
    m_pixmap = QSharedPointer<QPixmap>::create(pixmap);
    m_image = QImage();
    markChanged();
}

bool BitmapContainer::encode(std::vector<uint8_t>& out, std::string_view format)
{
    if (m_pixmap->isNull()) return false;
    const std::string name(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool saved = isImageMode() ? m_image.save(&buffer, name.c_str(), -1)
                                     : m_pixmap->save(&buffer, name.c_str(), -1);
    if (!bytes.isEmpty()) out.assign(bytes.begin(), bytes.end());
    return saved;
}

void BitmapContainer::scaleFrom(VMBitmap* source, int32_t mode)
{
    auto* bitmap = dynamic_cast<BitmapContainer*>(source);
    if (!bitmap || bitmap->m_pixmap->isNull()) return;
    const Qt::TransformationMode how =
        mode == kSmoothScaling ? Qt::SmoothTransformation : Qt::FastTransformation;
    const QSize target = size();
    if (bitmap->isImageMode())
        replacePixmap(
            QPixmap::fromImage(bitmap->m_image.scaled(target, Qt::IgnoreAspectRatio, how)));
    else
        replacePixmap(bitmap->m_pixmap->scaled(target, Qt::IgnoreAspectRatio, how));
}

void BitmapContainer::copyFrom(VMBitmap* source, const GuestRect& rectangle)
{
    auto* bitmap = dynamic_cast<BitmapContainer*>(source);
    if (!bitmap || bitmap->m_pixmap->isNull() || m_pixmap->isNull()) return;
    if (rectangle.width <= 0 || rectangle.height <= 0) return;
    requireBitmapSize(rectangle.width, rectangle.height);
    // The size is bounded; the corner may lie anywhere (outside parts come out transparent).
    const QRect area(clampCoordinate(rectangle.x), clampCoordinate(rectangle.y), rectangle.width,
                     rectangle.height);
    if (bitmap->isImageMode())
        replacePixmap(QPixmap::fromImage(bitmap->m_image.copy(area)));
    else
        replacePixmap(bitmap->m_pixmap->copy(area));
}

void BitmapContainer::fill(uint32_t color)
{
    markChanged();
    if (color >> 24 != 0xFF) {
        // Translucent: the word is stored as it is, alpha included; nothing is blended.
        if (toImageMode()) m_image.fill(color);
        return;
    }
    sharedPixmap()->fill(QColor::fromRgba(color));
}

uint32_t BitmapContainer::getPixel(int32_t x, int32_t y)
{
    if (!toImageMode() || !m_image.valid(x, y)) return 0;
    return m_image.pixel(x, y);
}

void BitmapContainer::setPixel(int32_t x, int32_t y, uint32_t color)
{
    if (!toImageMode() || !m_image.valid(x, y)) return;
    m_image.setPixel(x, y, color);
    markChanged();
}

int BitmapContainer::memoryOutsideHeap() const
{
    const int64_t pixmapBytes =
        int64_t{m_pixmap->width()} * m_pixmap->height() * std::max(m_pixmap->depth(), 1) / 8;
    const int64_t total = pixmapBytes + m_image.sizeInBytes();
    return static_cast<int>(std::min<int64_t>(total, std::numeric_limits<int>::max()));
}

} // namespace zelmo::graphics
