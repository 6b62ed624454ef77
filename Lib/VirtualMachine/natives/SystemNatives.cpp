// SPDX-License-Identifier: MIT
// Group 32, System: exit, clocks, platform queries, the application object and the current
// date-time (bound with the DateTime group). Operations that produce a value push it (the stack
// grows by one).
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::systemNative(int operation)
{
    switch (operation) {
    case 1: // exit: the host ends the application (open files are flushed on the way out)
        requireHost().exitApplication();
        throwError(kExit);
    case 2: { // requestExit(string): tell the host, then end the invocation as an exit request
        const uint32_t box = argU(0);
        const uint32_t string = box != 0 ? loadWord(box) : 0;
        requireHost().queryString22(string != 0 ? stringOf(box).toU16() : std::u16string());
        throwError(kExit);
    }
    case 3: // elapsedMillis
        pushWord(requireHost().getElapsedMillis());
        return;
    case 4: // callStack: there is no call stack to show
        pushWord(static_cast<int32_t>(newString(OString(u"No Callstack available"))));
        return;
    case 5: { // setApplicationObject(object): the object becomes a root, the previous one not
        const uint32_t object = argU(0);
        // Rooting a word that is not an object would break every later collection.
        if (object != 0 && !m_heap.isLiveHandle(object))
            throwError(kVMException, "Invalid heap reference");
        if (applicationObject != 0) m_heap.removeRoot(applicationObject);
        applicationObject = object;
        if (object != 0) m_heap.addRoot(object);
        popWords(1);
        return;
    }
    case 6: // queryInteger14
        pushWord(requireHost().queryInteger14());
        return;
    case 7: // queryInteger13
        pushWord(requireHost().queryInteger13());
        return;
    case 8: // currentTimeMillis
        pushWord(requireHost().getCurrentTimeMillis());
        return;
    // 9, now(timezone), is bound with the DateTime group (DateTimeNatives.cpp).
    // 10-12 (the default font and image fonts) come with the font support of the window host.
    case 13: // discard2
        popWords(2);
        return;
    case 14: // nullResult14(x)
    case 15: // nullResult15(x)
        arg(0) = 0;
        return;
    default:
        unknownOperation("System:");
    }
}

} // namespace zelmo
