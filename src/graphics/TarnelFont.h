// SPDX-License-Identifier: MIT
// An image font: glyphs cut out of a picture. The picture's last row holds markers (non-zero
// sample bytes from column 2 on) that start each glyph; column 0 is a baseline gauge. Glyph i
// draws character 32 + i. The sample byte of a pixel (its blue component) is the glyph's
// coverage there, kept as an 8-bit indexed image whose colour table gives every index the
// drawing colour with alpha = index; that table and the glyph pixmap made from it are rebuilt
// only when the colour's RGB changes.
#pragma once

#include "Containers/Vec.h"
#include "graphics/CAppsFont.h"
#include "graphics/GuestGeometry.h"

#include <QImage>
#include <QPixmap>

#include <memory>

class QPainter;

namespace zelmo::graphics {

class TarnelFont final : public CAppsFont {
public:
    struct CharData {
        int32_t x = 0;     // left column of the glyph in the picture
        int32_t width = 0; // in pixels
    };

    // The font in an encoded picture; null when it does not decode (or is too large).
    static std::unique_ptr<TarnelFont> decode(const uint8_t* data, size_t size);
    explicit TarnelFont(const QImage& picture);

    int32_t ascent() const override { return m_ascent; }
    int32_t height() const override { return m_height; }
    int32_t width(const OString& text, int32_t start, int32_t count) const override;
    int32_t fit(const OString& text, int32_t start, int32_t count, int32_t maxWidth) const override;
    int32_t type() const override { return kImage; }
    int memoryOutsideHeap() const override;

    // Installs the colour (alpha forced to 255) unless it is already installed.
    void setColor(uint32_t color);
    // Draws the run glyph by glyph with its top-left corner at the position; the colour's
    // alpha acts as painter opacity.
    void draw(QPainter& painter, const OString& text, int32_t start, int32_t count,
              GuestPoint position, uint32_t color);

    const Vec<CharData>& glyphs() const { return m_glyphs; }
    const QImage& pixelData() const { return m_pixelData; }
    // How many times the colour table and glyph pixmap were built.
    int colorTableBuilds() const { return m_colorTableBuilds; }

private:
    // The glyph of a character; null for characters below 32 or past the table.
    const CharData* glyphOf(char16_t c) const;

    int32_t m_ascent = 0;
    int32_t m_height = 0;
    Vec<CharData> m_glyphs;
    QImage m_pixelData;
    QPixmap m_glyphPixmap;
    uint32_t m_color = 0xFFFFFFFF;
    int m_colorTableBuilds = 0;
};

} // namespace zelmo::graphics
