// SPDX-License-Identifier: MIT
// Group 30, Debug: the application's log lines ("LOG: " on standard error and in the log file).
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::debugNative(int operation)
{
    switch (operation) {
    case 1: { // log(string)
        const std::u16string text = stringOf(argU(0)).toU16();
        requireHost().log(text);
        popWords(1);
        return;
    }
    case 2: { // setLogFile(path); the result is not reported
        const std::u16string path = stringOf(argU(0)).toU16();
        requireHost().setLogFile(path);
        popWords(1);
        return;
    }
    case 3: // nop
        return;
    default:
        unknownOperation("Debug:");
    }
}

} // namespace zelmo
