// SPDX-License-Identifier: MIT
// The Graphics group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::graphicsNative(int /*operation*/)
{
    unknownOperation("Graphics:");
}

} // namespace zelmo
