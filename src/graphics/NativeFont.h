// SPDX-License-Identifier: MIT
// The platform's default font at pixel size 40, the size every drawing context starts with.
#pragma once

#include "graphics/CAppsFont.h"

#include <QFont>

namespace zelmo::graphics {

class NativeFont final : public CAppsFont {
public:
    static constexpr int kPixelSize = 40;
    // The default font of the application at kPixelSize.
    static QFont defaultFont();

    NativeFont() : m_font(defaultFont()) {}

    int32_t ascent() const override;
    int32_t height() const override;
    int32_t width(const OString& text, int32_t start, int32_t count) const override;
    int32_t fit(const OString& text, int32_t start, int32_t count, int32_t maxWidth) const override;
    int32_t type() const override { return kNative; }

    const QFont& font() const { return m_font; }

private:
    QFont m_font;
};

} // namespace zelmo::graphics
