// SPDX-License-Identifier: MIT
// The Font group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::fontNative(int /*operation*/)
{
    unknownOperation("Font:");
}

} // namespace zelmo
