// SPDX-License-Identifier: MIT
// Positions and rectangles as bytecode passes them (signed 32-bit words), and their conversion
// to Qt geometry. Guest values can be anything, so edges are summed in 64 bits and clamped to a
// band far outside any bitmap (sides are at most 32,767): every visible pixel stays where it
// was, and Qt never sees a coordinate whose arithmetic overflows.
#pragma once

#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstdint>

namespace zelmo::graphics {

struct GuestPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct GuestRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

constexpr int64_t kCoordinateBand = 1 << 17;

inline int clampCoordinate(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, -kCoordinateBand, kCoordinateBand));
}

inline QPoint toQPoint(GuestPoint p)
{
    return {clampCoordinate(p.x), clampCoordinate(p.y)};
}

// Keeps the sign of a negative width or height, as Qt would have seen it.
inline QRect toQRect(const GuestRect& r)
{
    const int left = clampCoordinate(r.x), top = clampCoordinate(r.y);
    const int right = clampCoordinate(int64_t{r.x} + r.width);
    const int bottom = clampCoordinate(int64_t{r.y} + r.height);
    return {left, top, right - left, bottom - top};
}

} // namespace zelmo::graphics
