// SPDX-License-Identifier: MIT
// The OutputStream group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::outputStreamNative(int /*operation*/) { unknownOperation("OutputStream:"); }

} // namespace zelmo
