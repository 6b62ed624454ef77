// SPDX-License-Identifier: MIT
// The InputStream group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::inputStreamNative(int /*operation*/) { unknownOperation("InputStream:"); }

} // namespace zelmo
