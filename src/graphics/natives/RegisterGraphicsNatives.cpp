// SPDX-License-Identifier: MIT
#include "VirtualMachine/NativeRegistry.h"
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/GraphicsNatives.h"

#include <iterator>

namespace zelmo::graphics {

namespace {

struct GroupBinding {
    int group;
    NativeHandler handler;
};

constexpr GroupBinding kGroups[] = {
    {13, &colorNative},    {15, &sizeNative},   {16, &positionNative}, {17, &rectangleNative},
    {18, &graphicsNative}, {19, &bitmapNative}, {20, &fontNative},     {31, &screenNative},
};

// The groups bound here are exactly those GraphicsNatives.h names.
constexpr bool bindsTheGraphicsGroups()
{
    if (std::size(kGroups) != std::size(kGraphicsGroups)) return false;
    for (const GroupBinding& binding : kGroups)
        if (!isGraphicsNative(binding.group, 0)) return false;
    return true;
}
static_assert(bindsTheGraphicsGroups());

} // namespace

void registerGraphicsNatives()
{
    for (const GroupBinding& binding : kGroups)
        bindNativeGroup(binding.group, binding.handler);
    for (int operation = kFirstFontOperation; operation <= kLastFontOperation; ++operation)
        bindNativeOperation(kSystemGroup, operation, &fontCreationNative);
}

} // namespace zelmo::graphics
