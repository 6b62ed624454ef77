// SPDX-License-Identifier: MIT
// The Timer group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::timerNative(int /*operation*/) { unknownOperation("Timer:"); }

} // namespace zelmo
