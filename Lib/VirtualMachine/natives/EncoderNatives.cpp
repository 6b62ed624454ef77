// SPDX-License-Identifier: MIT
// The Encoder group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::encoderNative(int /*operation*/) { unknownOperation("Encoder:"); }

} // namespace zelmo
