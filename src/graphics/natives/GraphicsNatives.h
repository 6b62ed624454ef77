// SPDX-License-Identifier: MIT
// Which natives the drawing library binds, as numbers only: zelmo-vm asks this before it loads
// anything of Qt GUI, to decide whether a run needs the runtime's GUI part.
#pragma once

namespace zelmo::graphics {

inline constexpr int kGraphicsGroups[] = {13, 15, 16, 17, 18, 19, 20, 31};
// The System operations that make fonts.
inline constexpr int kSystemGroup = 32;
inline constexpr int kFirstFontOperation = 10;
inline constexpr int kLastFontOperation = 12;

// Whether the drawing library binds (group, signed operation byte): such an operation needs a
// Qt GUI application.
constexpr bool isGraphicsNative(int group, int operation)
{
    for (const int graphicsGroup : kGraphicsGroups)
        if (graphicsGroup == group) return true;
    return group == kSystemGroup && operation >= kFirstFontOperation &&
           operation <= kLastFontOperation;
}

} // namespace zelmo::graphics
