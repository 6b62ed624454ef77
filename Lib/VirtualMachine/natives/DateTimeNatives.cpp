// SPDX-License-Identifier: MIT
// The DateTime group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::dateTimeNative(int /*operation*/) { unknownOperation("DateTime:"); }

} // namespace zelmo
