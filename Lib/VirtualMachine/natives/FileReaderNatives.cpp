// SPDX-License-Identifier: MIT
// The FileReader group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::fileReaderNative(int /*operation*/) { unknownOperation("FileReader:"); }

} // namespace zelmo
