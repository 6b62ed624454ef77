// SPDX-License-Identifier: MIT
// The Math group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::mathNative(int /*operation*/) { unknownOperation("Math:"); }

} // namespace zelmo
