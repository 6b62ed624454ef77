// SPDX-License-Identifier: MIT
// The key event handed to the application's key handlers.
#pragma once

#include "Containers/OString.h"

#include <cstdint>

namespace zelmo::Tarnel {

class KeyEvent : public GCObject {
public:
    KeyEvent(int32_t keyCode, int32_t scanCode, int32_t modifiers, const OString& text)
        : keyCode(keyCode), scanCode(scanCode), modifiers(modifiers), text(text)
    {
    }
    int32_t keyCode;
    int32_t scanCode;
    int32_t modifiers;
    OString text;
};

} // namespace zelmo::Tarnel
