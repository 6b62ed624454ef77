// SPDX-License-Identifier: MIT
#include "graphics/GraphicsContainer.h"

#include "Base/Errors.h"
#include "graphics/BitmapContainer.h"
#include "graphics/NativeFont.h"
#include "graphics/TarnelFont.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace zelmo::graphics {

namespace {

// The band a drawing call may cover: more than any bitmap side, small enough for int maths.
constexpr int kFullArea = 32768;
constexpr double kPiAsWritten = 3.141; // the angle conversion applications were tuned against

// Draws with the given alpha as opacity (when it is not opaque), restoring the painter after.
template <class Draw> void withOpacity(QPainter& painter, int32_t alpha, Draw draw)
{
    if (alpha == 255) {
        draw();
        return;
    }
    painter.save();
    painter.setOpacity(alpha / 255.0);
    draw();
    painter.restore();
}

} // namespace

GraphicsContainer::GraphicsContainer(BitmapContainer& bitmap)
{
    const QSize size = bitmap.size();
    if (int64_t{size.width()} * size.height() == 0)
        throwError(kVMException, "GraphicsContainer: invalid bitmap");
    m_target = bitmap.sharedPixmap();
    // Opened to draw: the bitmap's texture is stale from here. A texture upload closes the
    // context, so every draw after one opens a new painter and marks the bitmap again.
    bitmap.markChanged();
    m_device = m_target.data();
    m_painter.begin(m_device);
    QFont font = m_painter.font();
    font.setPixelSize(NativeFont::kPixelSize);
    m_painter.setFont(font);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

GraphicsContainer::~GraphicsContainer()
{
    close();
}

void GraphicsContainer::close()
{
    if (!m_device) return;
    m_painter.end();
    m_device = nullptr;
    m_target.reset();
}

void GraphicsContainer::fillAll(uint32_t color)
{
    if (isOpen()) m_painter.fillRect(QRect(0, 0, kFullArea, kFullArea), QColor::fromRgba(color));
}

void GraphicsContainer::fillRect(const GuestRect& rectangle, uint32_t color)
{
    if (isOpen()) m_painter.fillRect(toQRect(rectangle), QColor::fromRgba(color));
}

void GraphicsContainer::drawLine(GuestPoint from, GuestPoint to, uint32_t color)
{
    if (!isOpen()) return;
    m_painter.setPen(QColor::fromRgba(color));
    // Exact in double, and Qt clips a line in floating point: no endpoint is moved.
    m_painter.drawLine(QLineF(from.x, from.y, to.x, to.y));
}

QPixmap GraphicsContainer::sourcePixmap(VMBitmap* source, bool copyWhenTarget)
{
    BitmapContainer* bitmap = asBitmapContainer(source);
    if (!bitmap || !isOpen()) return {};
    const QSharedPointer<QPixmap> pixmap = bitmap->sharedPixmap();
    if (pixmap == m_target) return copyWhenTarget ? pixmap->copy() : QPixmap();
    return *pixmap;
}

void GraphicsContainer::drawBitmap(VMBitmap* source, GuestPoint position, int32_t alpha)
{
    const QPixmap pixmap = sourcePixmap(source, false);
    if (pixmap.isNull()) return;
    withOpacity(m_painter, alpha, [&] { m_painter.drawPixmap(toQPoint(position), pixmap); });
}

void GraphicsContainer::drawBitmapRegion(VMBitmap* source, GuestPoint position,
                                         const GuestRect& sourceRect, int32_t alpha)
{
    const QPixmap pixmap = sourcePixmap(source, true);
    if (pixmap.isNull()) return;
    // Cut the region to the source in 64 bits and move the position by the same amount, so
    // that far-out guest values never overflow and each source pixel lands where it would.
    const int64_t left = std::max<int64_t>(sourceRect.x, 0);
    const int64_t top = std::max<int64_t>(sourceRect.y, 0);
    const int64_t right =
        std::min<int64_t>(int64_t{sourceRect.x} + sourceRect.width, pixmap.width());
    const int64_t bottom =
        std::min<int64_t>(int64_t{sourceRect.y} + sourceRect.height, pixmap.height());
    if (right <= left || bottom <= top) return;
    const QPoint at(clampCoordinate(position.x + (left - sourceRect.x)),
                    clampCoordinate(position.y + (top - sourceRect.y)));
    const QRect region(int(left), int(top), int(right - left), int(bottom - top));
    withOpacity(m_painter, alpha, [&] { m_painter.drawPixmap(at, pixmap, region); });
}

void GraphicsContainer::drawTiled(VMBitmap* source, const GuestRect& rectangle, GuestPoint offset)
{
    const QPixmap pixmap = sourcePixmap(source, true);
    if (pixmap.isNull()) return;
    // Qt's source point is -offset; reduced here so that no negation can overflow.
    const auto wrap = [](int32_t value, int side) {
        const int64_t r = -int64_t{value} % side;
        return int(r < 0 ? r + side : r);
    };
    m_painter.drawTiledPixmap(
        toQRect(rectangle), pixmap,
        QPoint(wrap(offset.x, pixmap.width()), wrap(offset.y, pixmap.height())));
}

void GraphicsContainer::drawTransformed(VMBitmap* source, GuestPoint position, double angle,
                                        double scaleX, double scaleY, int32_t alpha)
{
    const QPixmap pixmap = sourcePixmap(source, true);
    if (pixmap.isNull() || !std::isfinite(angle) || !std::isfinite(scaleX) ||
        !std::isfinite(scaleY))
        return;
    m_painter.save();
    if (alpha != 255) m_painter.setOpacity(alpha / 255.0);
    m_painter.translate(position.x, position.y);
    m_painter.rotate(-(angle * 180.0 / kPiAsWritten));
    m_painter.scale(scaleX, scaleY);
    m_painter.translate(-(pixmap.width() / 2), -(pixmap.height() / 2));
    m_painter.drawPixmap(0, 0, pixmap);
    m_painter.restore();
}

void GraphicsContainer::drawNativeText(const OString& text, int32_t start, int32_t count,
                                       GuestPoint position, uint32_t color)
{
    if (!isOpen()) return;
    const std::u16string_view run = textRun(text, start, count);
    m_painter.setPen(QColor::fromRgba(color));
    const QPoint at = toQPoint(position);
    m_painter.drawText(QRect(at.x(), at.y(), kFullArea, kFullArea), Qt::AlignLeft | Qt::AlignTop,
                       QString(reinterpret_cast<const QChar*>(run.data()), qsizetype(run.size())));
}

void GraphicsContainer::drawImageFontText(const OString& text, int32_t start, int32_t count,
                                          GuestPoint position, uint32_t color, TarnelFont& font)
{
    if (isOpen()) font.draw(m_painter, text, start, count, position, color);
}

} // namespace zelmo::graphics
