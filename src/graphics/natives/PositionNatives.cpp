// SPDX-License-Identifier: MIT
// Group 16, Position: (x, y), any signed values.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/PairNatives.h"

namespace zelmo::graphics {

void positionNative(VirtualMachine& vm, int operation)
{
    pairNative(vm, operation, false, "Position:");
}

} // namespace zelmo::graphics
