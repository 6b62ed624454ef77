// SPDX-License-Identifier: MIT
// The Long group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::longNative(int /*operation*/) { unknownOperation("Long:"); }

} // namespace zelmo
