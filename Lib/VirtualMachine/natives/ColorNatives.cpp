// SPDX-License-Identifier: MIT
// The Color group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::colorNative(int /*operation*/)
{
    unknownOperation("Color:");
}

} // namespace zelmo
