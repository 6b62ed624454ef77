// SPDX-License-Identifier: MIT
#include "host/SessionSteps.h"

#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"

#include <cstdio>
#include <cstdlib>

namespace zelmo {

namespace {

TARNEL::MemoryInputStream streamOver(std::string_view bytes)
{
    return TARNEL::MemoryInputStream(reinterpret_cast<const uint8_t*>(bytes.data()),
                                     static_cast<uint32_t>(bytes.size()));
}

} // namespace

std::unique_ptr<VirtualMachine> readImage(std::string_view bytes)
{
    std::unique_ptr<VirtualMachine> machine;
    try {
        machine = std::make_unique<VirtualMachine>();
    } catch (const ErrorHandlingException&) {
        // No address space is left for a machine (it said so): nothing can run in this process.
        std::exit(1);
    }
    TARNEL::MemoryInputStream stream = streamOver(bytes);
    int32_t moduleIndex = -1;
    try {
        if (!machine->readBytecode(u"index.mcb", stream, moduleIndex)) return nullptr;
    } catch (const ErrorHandlingException&) {
        return nullptr;
    }
    return machine;
}

void loadImage(VirtualMachine& machine, std::string_view bytes, FrameworkServices& host)
{
    TARNEL::MemoryInputStream stream = streamOver(bytes);
    machine.load(stream, u"index.mcb", &host);
}

std::optional<int> runGuarded(const std::function<void()>& call)
{
    try {
        call();
        return std::nullopt;
    } catch (const InvocationOutcome& outcome) {
        return outcome.value == -1 ? 0 : 1;
    } catch (const ErrorHandlingException&) {
        // A managed error outside any invocation (a malformed image, a missing main, a call
        // into a busy machine): nothing can catch it, so say what it was.
        std::fprintf(stderr, "FATAL: %s\n", toUtf8(lastErrorText()).c_str());
        return 1;
    }
}

void drawApplicationFrame(VirtualMachine& vm, int32_t& drawHandle)
{
    if (drawHandle == -1) drawHandle = vm.registerMethod(u"<openglapplication>.draw gl", 0);
    if (drawHandle != -1 && vm.applicationObject != 0)
        vm.callMethod(drawHandle, {int32_t(vm.applicationObject)}, {1}, 0);
}

} // namespace zelmo
