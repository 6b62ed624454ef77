// SPDX-License-Identifier: MIT
// Group 32, System: exit, clocks, platform queries, the application object.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::systemNative(int operation)
{
    switch (operation) {
    case 1: // exit: the host ends the application (open files are flushed on the way out)
        requireHost().exitApplication();
        throwError(kExit);
    case 5: { // setApplicationObject(object): the object becomes a root, the previous one not
        const uint32_t object = argU(0);
        if (applicationObject != 0)
            m_heap.removeRoot(applicationObject);
        applicationObject = object;
        if (object != 0)
            m_heap.addRoot(object);
        popWords(1);
        return;
    }
    default:
        unknownOperation("System:");
    }
}

} // namespace zelmo
