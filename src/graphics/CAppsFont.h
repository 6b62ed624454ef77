// SPDX-License-Identifier: MIT
// A font that measures and draws runs of a managed string: the platform's font engine
// (NativeFont) or a strip of glyphs cut out of a picture (TarnelFont).
#pragma once

#include "Containers/GCObject.h"
#include "Containers/OString.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace zelmo::graphics {

class CAppsFont : public GCObject {
public:
    enum Type : int32_t { kNative = 0, kImage = 1 };

    // Keep this order: it is the order of the operations in the font's interface.
    virtual int32_t ascent() const = 0;
    virtual int32_t height() const = 0;
    // Width in pixels of `count` UTF-16 units of `text` from `start`.
    virtual int32_t width(const OString& text, int32_t start, int32_t count) const = 0;
    // How many of those units, taken from `start`, fit in maxWidth.
    virtual int32_t fit(const OString& text, int32_t start, int32_t count,
                        int32_t maxWidth) const = 0;
    virtual int32_t type() const = 0;
};

// The part of the run [start, start + count) that lies inside the text: the natives check
// ranges, but a run from elsewhere must never read past the string.
inline std::u16string_view textRun(const OString& text, int32_t start, int32_t count)
{
    const int64_t length = text.length();
    const int64_t first = std::clamp<int64_t>(start, 0, length);
    const int64_t end = std::clamp<int64_t>(int64_t{start} + std::max(count, 0), first, length);
    return text.view().substr(size_t(first), size_t(end - first));
}

} // namespace zelmo::graphics
