// SPDX-License-Identifier: MIT
// The Char group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::charNative(int /*operation*/) { unknownOperation("Char:"); }

} // namespace zelmo
