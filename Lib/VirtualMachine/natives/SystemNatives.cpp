// SPDX-License-Identifier: MIT
// The System group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::systemNative(int /*operation*/) { unknownOperation("System:"); }

} // namespace zelmo
