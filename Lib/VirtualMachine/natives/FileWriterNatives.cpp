// SPDX-License-Identifier: MIT
// The FileWriter group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::fileWriterNative(int /*operation*/) { unknownOperation("FileWriter:"); }

} // namespace zelmo
