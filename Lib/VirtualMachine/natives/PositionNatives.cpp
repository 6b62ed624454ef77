// SPDX-License-Identifier: MIT
// The Position group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::positionNative(int /*operation*/)
{
    unknownOperation("Position:");
}

} // namespace zelmo
