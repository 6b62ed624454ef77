// SPDX-License-Identifier: MIT
// The Number group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::numberNative(int /*operation*/) { unknownOperation("Number:"); }

} // namespace zelmo
