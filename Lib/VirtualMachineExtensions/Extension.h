// SPDX-License-Identifier: MIT
// What the host's extension registry calls: one device extension, made with the application's
// machine on its first call. Extension libraries implement it below Lib/; the host only holds
// them by id.
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
