// SPDX-License-Identifier: MIT
// The extension host: one shared pointer per extension id, in the order accelerometer, audio
// player, location, desktop, torch, OpenGL ES. The host registers a factory for each extension
// this build provides; the object is made with the application's machine on its first call and
// kept until the session ends. An id without a factory raises VMException "Dll not supported",
// which the application can catch.
#pragma once

#include "VirtualMachineExtensions/Extension.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zelmo {

class ExtensionHost {
public:
    using Factory = std::function<std::shared_ptr<Extension>(VirtualMachine& machine)>;

    ExtensionHost();
    ~ExtensionHost();
    ExtensionHost(const ExtensionHost&) = delete;
    ExtensionHost& operator=(const ExtensionHost&) = delete;

    // Makes `id` known; a second factory for the same id replaces the first (and drops an
    // object the first one made).
    void registerExtension(int32_t id, Factory factory);
    bool knows(int32_t id) const;

    // Drops every extension object (the factories stay): the session does this before its
    // machine goes, since extensions hold on to it.
    void releaseAll();

    // Whether a made extension still has calls to deliver from the event loop.
    bool hasPendingWork() const;

    // Picks the extension by id, creates it with `machine` on first use and passes the call.
    void call(int32_t id, int32_t operation, ExtensionStack& stack, VirtualMachine& machine);

private:
    struct Entry {
        int32_t id;
        Factory factory;
        std::shared_ptr<Extension> instance; // empty until the first call
    };
    Entry* find(int32_t id);

    std::vector<Entry> m_entries;
};

} // namespace zelmo
