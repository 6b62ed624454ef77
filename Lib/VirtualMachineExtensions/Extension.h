// SPDX-License-Identifier: MIT
// The device extensions an application reaches with EXTCALL, by id, and the interface each one
// implements. The host keeps one object per id, made with the application's machine on the
// first call; the object keeps that machine for its whole life.
#pragma once

#include "VirtualMachine/ExtensionStack.h"

#include <cstdint>
#include <functional>

namespace zelmo {

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

class Extension {
public:
    virtual ~Extension() = default;
    // Runs one operation: its arguments are on top of the stack in push order, and it leaves
    // its results there. An operation it does not know goes to the machine's fatal error
    // report with the extension's own message, before anything is popped.
    virtual void call(int32_t operation, ExtensionStack& stack) = 0;
    // Whether the extension still has calls to make into the application from the event loop
    // (a started position request): a headless run does not end while one is due.
    virtual bool hasPendingWork() const { return false; }
};

// Runs a call into the application's machine from the event loop, as the host delivers every
// event: the host turns an exit request or a fatal error in it into the end of the run.
using MachineDelivery = std::function<void(const std::function<void(VirtualMachine&)>&)>;

} // namespace zelmo
