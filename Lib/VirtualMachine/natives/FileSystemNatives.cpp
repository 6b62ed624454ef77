// SPDX-License-Identifier: MIT
// The FileSystem group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::fileSystemNative(int /*operation*/) { unknownOperation("FileSystem:"); }

} // namespace zelmo
