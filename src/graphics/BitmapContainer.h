// SPDX-License-Identifier: MIT
// The only bitmap class. Its pixels live in one of two forms: a shared QPixmap that painters
// draw into and from (pixmap mode), or an ARGB32 QImage for pixel reads and writes (image mode;
// the pixmap keeps its size but may be stale). Each operation switches to the form it needs, so
// runs of pixel access and runs of drawing each stay in their fast form.
#pragma once

#include "graphics/VMBitmap.h"

#include <QImage>
#include <QPixmap>
#include <QSharedPointer>

#include <memory>

namespace zelmo::graphics {

class BitmapTexture;

class BitmapContainer final : public VMBitmap {
public:
    // A width x height pixmap, contents undefined until filled; raises "Bitmap too large".
    static std::unique_ptr<BitmapContainer> create(int32_t width, int32_t height);
    // A deep copy in pixmap mode (from the source's image when it is in image mode).
    static std::unique_ptr<BitmapContainer> copy(const BitmapContainer& source);
    // The picture in the bytes, format told by the data; null when it does not decode.
    static std::unique_ptr<BitmapContainer> decode(const uint8_t* data, size_t size);

    explicit BitmapContainer(const QPixmap& pixmap);
    ~BitmapContainer() override;

    bool encode(std::vector<uint8_t>& out, std::string_view format) override;
    void scaleFrom(VMBitmap* source, int32_t mode) override;
    void copyFrom(VMBitmap* source, const GuestRect& rectangle) override;
    void fill(uint32_t color) override;
    uint32_t getPixel(int32_t x, int32_t y) override;
    void setPixel(int32_t x, int32_t y, uint32_t color) override;
    QSize size() const override { return m_pixmap->size(); }
    int memoryOutsideHeap() const override;

    // Switches to pixmap mode and shares the pixmap (drawing targets keep it alive).
    QSharedPointer<QPixmap> sharedPixmap();
    bool isImageMode() const { return !m_image.isNull(); }
    // Read-only views of the two forms, for callers that must not switch modes.
    const QPixmap& pixmap() const { return *m_pixmap; }
    const QImage& image() const { return m_image; }
    // How many whole-bitmap conversions between the two forms have run.
    int conversionCount() const { return m_conversions; }

    // Changes whenever the pixels may change: every write here, and every painter opened on
    // the pixmap (GraphicsContainer), so that a texture made of older pixels is known stale.
    uint64_t version() const { return m_version; }
    void markChanged() { ++m_version; }
    // The GL texture made of the pixels, if any: it lives as long as the bitmap.
    std::unique_ptr<BitmapTexture>& texture() { return m_texture; }

private:
    // Switches to image mode; false for a bitmap without pixels.
    bool toImageMode();
    void replacePixmap(const QPixmap& pixmap);

    QSharedPointer<QPixmap> m_pixmap;
    QImage m_image;
    int m_conversions = 0;
    uint64_t m_version = 1; // a texture that has never been made from pixels holds 0
    std::unique_ptr<BitmapTexture> m_texture;
};

// The source as a BitmapContainer, or null after the "Null BitmapContainer" warning.
BitmapContainer* asBitmapContainer(VMBitmap* source);

} // namespace zelmo::graphics
