// SPDX-License-Identifier: MIT
#include "graphics/TarnelFont.h"

#include "graphics/BitmapLimits.h"

#include <QPainter>
#include <QVector>

#include <algorithm>
#include <limits>

namespace zelmo::graphics {

namespace {

constexpr char16_t kFirstGlyphChar = 32;

uint8_t sampleAt(const QImage& picture, int x, int y)
{
    return static_cast<uint8_t>(qBlue(picture.pixel(x, y)));
}

} // namespace

std::unique_ptr<TarnelFont> TarnelFont::decode(const uint8_t* data, size_t size)
{
    const QImage picture = decodeImage(data, size);
    if (picture.isNull()) return nullptr;
    return std::make_unique<TarnelFont>(picture);
}

TarnelFont::TarnelFont(const QImage& source)
{
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    const int w = picture.width(), h = picture.height();
    if (w <= 0 || h <= 0) return;
    m_height = h - 1; // the last row holds the markers

    m_pixelData = QImage(w, h, QImage::Format_Indexed8);
    m_pixelData.fill(0u);
    for (int y = 0; y < m_height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        uint8_t* out = m_pixelData.scanLine(y);
        for (int x = 0; x < w; ++x)
            out[x] = static_cast<uint8_t>(qBlue(in[x]));
    }

    while (m_ascent < m_height && sampleAt(picture, 0, m_ascent) != 0)
        ++m_ascent;

    int start = 1; // column 0 is the gauge; the first glyph starts right after it
    for (int x = 2; x < w; ++x) {
        if (sampleAt(picture, x, m_height) == 0) continue;
        m_glyphs.append(CharData{start, x - start});
        start = x;
    }
}

const TarnelFont::CharData* TarnelFont::glyphOf(char16_t c) const
{
    if (c < kFirstGlyphChar || c - kFirstGlyphChar >= m_glyphs.size()) return nullptr;
    return &m_glyphs[c - kFirstGlyphChar];
}

int32_t TarnelFont::width(const OString& text, int32_t start, int32_t count) const
{
    int64_t sum = 0;
    for (char16_t c : textRun(text, start, count)) {
        if (const CharData* glyph = glyphOf(c)) sum += glyph->width;
    }
    return static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
}

int32_t TarnelFont::fit(const OString& text, int32_t start, int32_t count, int32_t maxWidth) const
{
    int64_t sum = 0;
    int32_t passed = 0;
    for (char16_t c : textRun(text, start, count)) {
        if (const CharData* glyph = glyphOf(c)) {
            sum += glyph->width;
            if (sum > maxWidth) break;
        }
        ++passed;
    }
    return passed;
}

void TarnelFont::setColor(uint32_t color)
{
    color |= 0xFF000000u;
    if (color == m_color && m_pixelData.colorCount() > 0) return;
    QVector<QRgb> table(256);
    for (uint32_t i = 0; i < 256; ++i)
        table[int(i)] = (color & 0x00FFFFFFu) + i * 0x01000000u;
    m_pixelData.setColorTable(table);
    m_glyphPixmap = QPixmap::fromImage(m_pixelData);
    m_color = color;
    ++m_colorTableBuilds;
}

void TarnelFont::draw(QPainter& painter, const OString& text, int32_t start, int32_t count,
                      GuestPoint position, uint32_t color)
{
    if (m_pixelData.isNull()) return;
    setColor(color);
    const uint32_t alpha = color >> 24;
    painter.save();
    if (alpha != 0xFF) painter.setOpacity(alpha / 255.0);
    const QPoint origin = toQPoint(position);
    int64_t penX = origin.x();
    for (char16_t c : textRun(text, start, count)) {
        if (penX > kCoordinateBand) break; // the rest lies far right of any bitmap
        const CharData* glyph = glyphOf(c);
        if (!glyph || glyph->width == 0) continue;
        painter.drawPixmap(QPoint(int(penX), origin.y()), m_glyphPixmap,
                           QRect(glyph->x, 0, glyph->width, m_height));
        penX += glyph->width;
    }
    painter.restore();
}

int TarnelFont::memoryOutsideHeap() const
{
    const int64_t glyphPixmapBytes = int64_t{m_glyphPixmap.width()} * m_glyphPixmap.height() *
                                     std::max(m_glyphPixmap.depth(), 1) / 8;
    const int64_t total = m_pixelData.sizeInBytes() + glyphPixmapBytes +
                          int64_t{m_glyphs.capacity()} * int64_t(sizeof(CharData));
    return static_cast<int>(std::min<int64_t>(total, std::numeric_limits<int>::max()));
}

} // namespace zelmo::graphics
