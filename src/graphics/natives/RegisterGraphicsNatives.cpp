// SPDX-License-Identifier: MIT
#include "VirtualMachine/NativeRegistry.h"
#include "graphics/natives/DrawingNatives.h"

namespace zelmo::graphics {

void registerGraphicsNatives()
{
    bindNativeGroup(13, &colorNative);
    bindNativeGroup(15, &sizeNative);
    bindNativeGroup(16, &positionNative);
    bindNativeGroup(17, &rectangleNative);
    bindNativeGroup(18, &graphicsNative);
    bindNativeGroup(19, &bitmapNative);
    bindNativeGroup(20, &fontNative);
    bindNativeGroup(31, &screenNative);
    for (int operation = 10; operation <= 12; ++operation)
        bindNativeOperation(32, operation, &fontCreationNative);
}

} // namespace zelmo::graphics
