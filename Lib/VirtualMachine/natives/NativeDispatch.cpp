// SPDX-License-Identifier: MIT
// Routes the NATIVE instruction through the registry: one table lookup per call, resolved in
// advance for every catalogued operation whenever a library binds something.
#include "VirtualMachine/NativeCatalog.h"
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/VirtualMachine.h"

#include <array>
#include <cstdint>
#include <string>

namespace zelmo {

namespace {

using HandlerRow = std::array<NativeHandler, 256>; // indexed by the operation byte

std::array<NativeHandler, kNativeGroupLimit> g_groupHandlers{};
std::array<HandlerRow, kNativeGroupLimit> g_operationHandlers{};
std::array<HandlerRow, kNativeGroupLimit> g_resolved{}; // what dispatch reads

uint8_t operationByte(int operation)
{
    return static_cast<uint8_t>(operation);
}

void resolve(const NativeGroup& group)
{
    HandlerRow& row = g_resolved[group.number];
    row.fill(nullptr);
    for (const NativeOperation& op : group.operations) {
        const uint8_t byte = operationByte(op.number);
        const NativeHandler own = g_operationHandlers[group.number][byte];
        row[byte] = own ? own : g_groupHandlers[group.number];
    }
}

} // namespace

bool bindNativeGroup(int group, NativeHandler handler)
{
    const NativeGroup* entry = nativeGroup(group);
    if (!entry) return false;
    g_groupHandlers[group] = handler;
    resolve(*entry);
    return true;
}

bool bindNativeOperation(int group, int operation, NativeHandler handler)
{
    const NativeGroup* entry = nativeGroup(group);
    if (!entry || !entry->operation(operation)) return false;
    g_operationHandlers[group][operationByte(operation)] = handler;
    resolve(*entry);
    return true;
}

NativeHandler nativeHandler(int group, int operation)
{
    if (group < 0 || group >= kNativeGroupLimit) return nullptr;
    return g_resolved[group][operationByte(operation)];
}

void VirtualMachine::dispatchNative(int group, int operation)
{
    if (static_cast<unsigned>(group) < static_cast<unsigned>(kNativeGroupLimit)) [[likely]] {
        if (const NativeHandler handler = g_resolved[group][operationByte(operation)]) [[likely]] {
            handler(*this, operation);
            return;
        }
    }
    nativeCallFailed(group, operation);
}

void VirtualMachine::nativeCallFailed(int group, int operation)
{
    const NativeGroup* entry = nativeGroup(group);
    if (!entry)
        fatalError("Internal error: invalid group in native call: " + std::to_string(group), m_pc);
    if (entry->message == NativeMessage::Operation)
        unknownOperation(std::string(entry->prefix).c_str(), operation);
    unknownOperation(std::string(entry->prefix).c_str());
}

void VirtualMachine::unknownOperation(const char* prefix)
{
    throwError(kVMException, std::string(prefix) + std::to_string(m_pc));
}

void VirtualMachine::unknownOperation(const char* prefix, int operation)
{
    throwError(kVMException, std::string(prefix) + std::to_string(operation));
}

FrameworkServices& VirtualMachine::requireHost()
{
    if (!m_host) raiseFatal("no host services are available to this machine");
    return *m_host;
}

} // namespace zelmo
