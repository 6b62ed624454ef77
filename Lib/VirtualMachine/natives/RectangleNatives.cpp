// SPDX-License-Identifier: MIT
// The Rectangle group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::rectangleNative(int /*operation*/)
{
    unknownOperation("Rectangle:");
}

} // namespace zelmo
