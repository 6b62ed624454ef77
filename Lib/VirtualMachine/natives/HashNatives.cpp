// SPDX-License-Identifier: MIT
// The Hash group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::hashNative(int /*operation*/) { unknownOperation("Hash:"); }

} // namespace zelmo
