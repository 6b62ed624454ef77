// SPDX-License-Identifier: MIT
#include "host/ExtensionHost.h"

#include "Base/Errors.h"

#include <algorithm>

namespace zelmo {

ExtensionHost::ExtensionHost()
{
    // Every id an application may name, in the fixed order; none answers until registered.
    for (const int32_t id : {kAccelerometerExtension, kAudioPlayerExtension, kLocationExtension,
                             kDesktopExtension, kTorchExtension, kOpenGlesExtension})
        m_entries.push_back({id, nullptr, nullptr});
}

ExtensionHost::~ExtensionHost() = default;

ExtensionHost::Entry* ExtensionHost::find(int32_t id)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [id](const Entry& entry) { return entry.id == id; });
    return it == m_entries.end() ? nullptr : &*it;
}

bool ExtensionHost::knows(int32_t id) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [id](const Entry& entry) { return entry.id == id && entry.factory; });
}

bool ExtensionHost::hasPendingWork() const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [](const Entry& entry) {
        return entry.instance && entry.instance->hasPendingWork();
    });
}

void ExtensionHost::registerExtension(int32_t id, Factory factory)
{
    if (Entry* entry = find(id)) {
        entry->factory = std::move(factory);
        entry->instance.reset();
        return;
    }
    m_entries.push_back({id, std::move(factory), nullptr});
}

void ExtensionHost::releaseAll()
{
    for (Entry& entry : m_entries)
        entry.instance.reset();
}

void ExtensionHost::call(int32_t id, int32_t operation, ExtensionStack& stack,
                         VirtualMachine& machine)
{
    Entry* entry = find(id);
    if (!entry || !entry->factory) throwError(kVMException, "Dll not supported");
    if (!entry->instance) {
        entry->instance = entry->factory(machine);
        if (!entry->instance) throwError(kVMException, "Dll not supported");
    }
    entry->instance->call(operation, stack);
}

} // namespace zelmo
