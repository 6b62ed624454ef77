// SPDX-License-Identifier: MIT
#include "VirtualMachine/NativeRegistry.h"
#include "graphics/natives/DrawingNatives.h"

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

// The System operations that make fonts.
constexpr int kSystemGroup = 32;
constexpr int kFirstFontOperation = 10;
constexpr int kLastFontOperation = 12;

} // namespace

void registerGraphicsNatives()
{
    for (const GroupBinding& binding : kGroups)
        bindNativeGroup(binding.group, binding.handler);
    for (int operation = kFirstFontOperation; operation <= kLastFontOperation; ++operation)
        bindNativeOperation(kSystemGroup, operation, &fontCreationNative);
}

bool isGraphicsNative(int group, int operation)
{
    for (const GroupBinding& binding : kGroups)
        if (binding.group == group) return true;
    return group == kSystemGroup && operation >= kFirstFontOperation &&
           operation <= kLastFontOperation;
}

} // namespace zelmo::graphics
