// SPDX-License-Identifier: MIT
// The Bitmap group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::bitmapNative(int /*operation*/)
{
    unknownOperation("Bitmap:");
}

} // namespace zelmo
