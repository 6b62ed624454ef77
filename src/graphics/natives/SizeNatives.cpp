// SPDX-License-Identifier: MIT
// Group 15, Size: (width, height), never set negative through these operations.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/PairNatives.h"

namespace zelmo::graphics {

void sizeNative(VirtualMachine& vm, int operation)
{
    pairNative(vm, operation, true, "Size:");
}

} // namespace zelmo::graphics
