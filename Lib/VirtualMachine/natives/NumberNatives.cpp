// SPDX-License-Identifier: MIT
// Group 27, Number: absolute values of bytes and ints, and unsigned radix text of an int.
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/IntegerArithmetic.h"

namespace zelmo {

void VirtualMachine::numberNative(int operation)
{
    switch (operation) {
    case 1: // absByte(b): a positive low byte leaves the slot untouched
        arg(0) = absByte(arg(0));
        return;
    case 2: // absInt(i)
        arg(0) = absInt(arg(0));
        return;
    case 3: { // toStringRadix(value, radix)
        const int32_t radix = arg(0);
        const uint32_t string = newString(OString(unsignedToRadix(argU(1), radix)));
        arg(1) = static_cast<int32_t>(string);
        popWords(1);
        return;
    }
    default:
        unknownOperation("Number:");
    }
}

} // namespace zelmo
