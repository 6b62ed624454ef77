// SPDX-License-Identifier: MIT
// The Byte group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::byteNative(int /*operation*/) { unknownOperation("Byte:"); }

} // namespace zelmo
