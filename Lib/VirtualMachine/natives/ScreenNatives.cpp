// SPDX-License-Identifier: MIT
// The Screen group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::screenNative(int /*operation*/)
{
    unknownOperation("Screen:");
}

} // namespace zelmo
