// SPDX-License-Identifier: MIT
// The Fixed group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::fixedNative(int /*operation*/) { unknownOperation("Fixed:"); }

} // namespace zelmo
