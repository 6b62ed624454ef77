// SPDX-License-Identifier: MIT
// The Range group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::rangeNative(int /*operation*/) { unknownOperation("Range:"); }

} // namespace zelmo
