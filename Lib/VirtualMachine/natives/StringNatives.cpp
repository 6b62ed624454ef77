// SPDX-License-Identifier: MIT
// The String group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::stringNative(int /*operation*/) { unknownOperation("String:"); }

} // namespace zelmo
