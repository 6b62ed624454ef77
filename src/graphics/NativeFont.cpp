// SPDX-License-Identifier: MIT
#include "graphics/NativeFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>

namespace zelmo::graphics {

namespace {

QString toQString(std::u16string_view run)
{
    return QString(reinterpret_cast<const QChar*>(run.data()), qsizetype(run.size()));
}

} // namespace

QFont NativeFont::defaultFont()
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(kPixelSize);
    return font;
}

int32_t NativeFont::ascent() const
{
    return QFontMetrics(m_font).ascent();
}

int32_t NativeFont::height() const
{
    return QFontMetrics(m_font).height();
}

int32_t NativeFont::width(const OString& text, int32_t start, int32_t count) const
{
    if (count <= 0) return 0;
    return QFontMetrics(m_font).horizontalAdvance(toQString(textRun(text, start, count)));
}

int32_t NativeFont::fit(const OString& text, int32_t start, int32_t count, int32_t maxWidth) const
{
    // Prefixes are measured whole (kerning and shaping apply), growing one unit at a time.
    const std::u16string_view run = textRun(text, start, count);
    const QFontMetrics metrics(m_font);
    int32_t fitting = 0;
    for (size_t n = 1; n <= run.size(); ++n) {
        if (metrics.horizontalAdvance(toQString(run.substr(0, n))) > maxWidth) break;
        fitting = static_cast<int32_t>(n);
    }
    return fitting;
}

} // namespace zelmo::graphics
