// SPDX-License-Identifier: MIT
// Group 33, Timer: periodic timers that call the listener's systemtimerevent. The host keeps the
// timers; the machine keeps each listener alive (a heap root) for exactly as long as its timer
// exists. Negative delays count as 0.
#include "VirtualMachine/VirtualMachine.h"

#include <algorithm>

namespace zelmo {

namespace {

constexpr int32_t kFirstTimerId = 10;

// A listener becomes a collector root, so it must name a live heap object (or be null, which
// roots nothing): a forged word would break every later collection.
void requireListener(VirtualMachine& vm, uint32_t listener)
{
    if (listener == 0) return;
    if (!vm.heap().isLiveHandle(listener)) throwError(kVMException, "Invalid heap reference");
}

} // namespace

void VirtualMachine::timerNative(int operation)
{
    switch (operation) {
    case 1: { // addTimer(listener, delay) -> id
        FrameworkServices& host = requireHost();
        const uint32_t listener = argU(1);
        requireListener(*this, listener);
        if (listener != 0) m_heap.addRoot(listener);
        const int32_t id = host.addTimer(listener, std::max(arg(0), 0));
        if (id < kFirstTimerId) {
            if (listener != 0) m_heap.removeRoot(listener);
            raiseFatal("Internal error: timerID >= 10");
        }
        arg(1) = id;
        popWords(1);
        return;
    }
    case 2: { // removeTimer(id)
        const uint32_t listener = requireHost().removeTimer(arg(0));
        if (listener != 0) m_heap.removeRoot(listener);
        popWords(1);
        return;
    }
    case 3: // setTimerDelay(id, delay)
        requireHost().updateTimerDelay(arg(1), std::max(arg(0), 0));
        popWords(2);
        return;
    default:
        unknownOperation("Timer:");
    }
}

} // namespace zelmo
