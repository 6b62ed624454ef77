// SPDX-License-Identifier: MIT
// The Debug group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::debugNative(int /*operation*/) { unknownOperation("Debug:"); }

} // namespace zelmo
