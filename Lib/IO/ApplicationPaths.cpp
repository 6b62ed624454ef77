// SPDX-License-Identifier: MIT
#include "IO/ApplicationPaths.h"

#include "IO/FileUtility.h"

#include <QDir>

namespace zelmo {

namespace {

template <class Text> bool holdsForbidden(const Text& text)
{
    using Char = typename Text::value_type;
    static constexpr Char kDots[] = {Char('.'), Char('.')};
    for (Char c : text) {
        if (c == Char(':') || c == Char('|') || c == Char('\0')) return true;
    }
    return text.find(Text(kDots, 2)) != Text::npos;
}

} // namespace

ApplicationPaths::ApplicationPaths(const std::u16string& baseDirectory)
    : m_base(QDir(QDir::cleanPath(QString::fromStdU16String(baseDirectory)))
                 .absolutePath()
                 .toStdU16String()),
      m_baseName(TARNEL::FileUtility::encodeName(m_base))
{
}

bool ApplicationPaths::isGoodPath(std::u16string_view path)
{
    return !path.empty() && !holdsForbidden(path);
}

std::optional<MappedPath> ApplicationPaths::map(std::u16string_view path) const
{
    if (!isGoodPath(path)) return std::nullopt;

    const std::u16string converted = TARNEL::FileUtility::convertSeparators(std::u16string(path));
    std::u16string relative;
    size_t start = 0;
    while (start <= converted.size()) {
        size_t end = converted.find(u'/', start);
        if (end == std::u16string::npos) end = converted.size();
        const std::u16string_view step(converted.data() + start, end - start);
        if (!step.empty() && step != u".") {
            if (!relative.empty()) relative += u'/';
            relative += step;
        }
        start = end + 1;
    }

    MappedPath mapped;
    mapped.isBase = relative.empty();
    // Check again what the system will really see: the conversion must not have produced a
    // separator, a parent step or a forbidden character that the UTF-16 check could not see.
    const std::string relativeName = TARNEL::FileUtility::encodeName(relative);
    if (holdsForbidden(relativeName) || relativeName.find("//") != std::string::npos ||
        (!relativeName.empty() && relativeName.front() == '/') ||
        relativeName.size() < relative.size())
        return std::nullopt;
    mapped.path = relative.empty() ? m_base : m_base + u'/' + relative;
    mapped.name = relative.empty() ? m_baseName : m_baseName + '/' + relativeName;
    if (m_base == u"/") { // a base of "/" would otherwise give "//name"
        mapped.path = u'/' + relative;
        mapped.name = '/' + relativeName;
    }
    return mapped;
}

} // namespace zelmo
