// SPDX-License-Identifier: MIT
// The Size group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::sizeNative(int /*operation*/)
{
    unknownOperation("Size:");
}

} // namespace zelmo
