// SPDX-License-Identifier: MIT
// The device extensions an application reaches with EXTCALL, by id. A library that provides
// an extension registers a factory for its id; the extension object is made with the
// application's machine on its first call and lives as long as the host. An id without a
// factory raises VMException "Dll not supported", which the application can catch.
#pragma once

#include "VirtualMachineExtensions/Extension.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zelmo {

class ExtensionStack;
class VirtualMachine;

// The ids applications use.
enum ExtensionId : int32_t {
    kAccelerometerExtension = 20,
    kLocationExtension = 27,
    kAudioPlayerExtension = 28,
    kTorchExtension = 36,
    kDesktopExtension = 37,
    kOpenGlesExtension = 38,
};

class ExtensionHost {
public:
    using Factory = std::function<std::unique_ptr<Extension>(VirtualMachine& machine)>;

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

    // Picks the extension by id, creates it with `machine` on first use and passes the call.
    void call(int32_t id, int32_t operation, ExtensionStack& stack, VirtualMachine& machine);

private:
    struct Entry {
        int32_t id;
        Factory factory;
        std::unique_ptr<Extension> instance; // empty until the first call
    };
    Entry* find(int32_t id);

    std::vector<Entry> m_entries;
};

} // namespace zelmo
