// SPDX-License-Identifier: MIT
// The Float group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::floatNative(int /*operation*/) { unknownOperation("Float: invalid opcode: "); }

} // namespace zelmo
