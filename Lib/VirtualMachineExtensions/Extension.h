// SPDX-License-Identifier: MIT
// What a device extension offers the host: one call per EXTCALL instruction. It lives here,
// below the host, so that extension libraries implement it without seeing the host.
#pragma once

#include <cstdint>

namespace zelmo {

class ExtensionStack;

class Extension {
public:
    virtual ~Extension() = default;
    // Runs one operation: its arguments are on top of the stack in push order, and it leaves
    // its results there. An operation it does not know goes to the machine's fatal error
    // report with the extension's own message.
    virtual void call(int32_t operation, ExtensionStack& stack) = 0;
};

} // namespace zelmo
