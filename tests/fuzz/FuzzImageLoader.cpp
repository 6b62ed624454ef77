// SPDX-License-Identifier: MIT
// libFuzzer target: any byte string given to the loader as an image. A malformed image must be
// refused (0, or the fatal error for what the loader cannot take), never crash the host.
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"

#include <cstddef>
#include <cstdint>

using namespace zelmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return -1;
    VirtualMachine vm;
    TARNEL::MemoryInputStream stream(data, static_cast<TARNEL::TUint32>(size));
    int32_t moduleIndex = -1;
    try {
        if (vm.readBytecode(u"index.mcb", stream, moduleIndex) == 1) {
            // A loaded image must also give answers about its entry points.
            vm.registerMethod(u"main", moduleIndex);
            vm.registerMethod(u"<*application>.key pressed<keyevent>", moduleIndex);
        }
    } catch (const ErrorHandlingException&) {
    } catch (const InvocationOutcome&) {
    }
    clearError();
    return 0;
}
