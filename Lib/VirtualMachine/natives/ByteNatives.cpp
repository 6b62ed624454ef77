// SPDX-License-Identifier: MIT
// Group 9, Byte. Byte arithmetic is all in the instruction set, so the group has no operations;
// every number, 0 included, is the group's unknown-operation error, which an application can
// catch.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::byteNative(int /*operation*/)
{
    unknownOperation("Byte:");
}

} // namespace zelmo
