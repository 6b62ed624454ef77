// SPDX-License-Identifier: MIT
// A drawing context bound to one bitmap: a painter open on the bitmap's pixmap, which the
// context keeps alive while it is open. Every new painter draws in the default font at pixel
// size 40, without antialiasing or smooth pixmap transformation. Once closed, a context stays
// closed; the next draw makes a new one.
#pragma once

#include "Containers/GCObject.h"
#include "Containers/OString.h"
#include "graphics/GuestGeometry.h"

#include <QPainter>
#include <QPixmap>
#include <QSharedPointer>

namespace zelmo::graphics {

class BitmapContainer;
class CAppsFont;
class TarnelFont;
class VMBitmap;

class GraphicsContainer final : public GCObject {
public:
    // Opens on the bitmap's pixmap; a bitmap of zero area raises VMException
    // "GraphicsContainer: invalid bitmap".
    explicit GraphicsContainer(BitmapContainer& bitmap);
    ~GraphicsContainer() override;
    GraphicsContainer(const GraphicsContainer&) = delete;
    GraphicsContainer& operator=(const GraphicsContainer&) = delete;

    bool isOpen() const { return m_device != nullptr; }
    void close();

    void fillAll(uint32_t color);
    void fillRect(const GuestRect& rectangle, uint32_t color);
    void drawLine(GuestPoint from, GuestPoint to, uint32_t color);
    // Source operations warn "Null BitmapContainer" and draw nothing for another kind of source.
    // Alpha below 255 draws with that opacity.
    void drawBitmap(VMBitmap* source, GuestPoint position, int32_t alpha);
    void drawBitmapRegion(VMBitmap* source, GuestPoint position, const GuestRect& sourceRect,
                          int32_t alpha);
    // Tiles the rectangle so that a copy's top-left corner falls at its corner + offset.
    void drawTiled(VMBitmap* source, const GuestRect& rectangle, GuestPoint offset);
    // The source rotated by `angle` radians and scaled, centred on the position.
    void drawTransformed(VMBitmap* source, GuestPoint position, double angle, double scaleX,
                         double scaleY, int32_t alpha);
    // Native text always draws in the context's font: every native font has its size.
    void drawNativeText(const OString& text, int32_t start, int32_t count, GuestPoint position,
                        uint32_t color);
    void drawImageFontText(const OString& text, int32_t start, int32_t count, GuestPoint position,
                           uint32_t color, TarnelFont& font);

    QPainter& painter() { return m_painter; }
    const QSharedPointer<QPixmap>& target() const { return m_target; }

private:
    // The pixels to draw from: the source's pixmap, or a copy of it when it is the target
    // itself (drawing a buffer onto itself depends on Qt's pixel order). Null: draw nothing.
    QPixmap sourcePixmap(VMBitmap* source, bool copyWhenTarget);

    QPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QSharedPointer<QPixmap> m_target;
};

} // namespace zelmo::graphics
