// SPDX-License-Identifier: MIT
// The array groups (1 and 3 to 7). Not built yet: every operation answers with the unknown-
// operation error.
#include "VirtualMachine.h"

namespace zelmo {

template <class TYPE, int SIZE> void VirtualMachine::vectorNative(int /*operation*/, bool /*bPrimitive*/)
{
    unknownOperation("Vector:");
}

template void VirtualMachine::vectorNative<signed char, 1>(int, bool);
template void VirtualMachine::vectorNative<int, 1>(int, bool);
template void VirtualMachine::vectorNative<int, 2>(int, bool);
template void VirtualMachine::vectorNative<int, 3>(int, bool);
template void VirtualMachine::vectorNative<int, 4>(int, bool);

} // namespace zelmo
