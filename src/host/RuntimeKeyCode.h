// SPDX-License-Identifier: MIT
// The key codes applications receive, for the window's keys and for scripted input alike.
#pragma once

#include <cstdint>
#include <string>

namespace zelmo {

// The runtime key code for a Qt key code: printable keys 32-96 as they are, six editing and
// arrow keys to their own codes, everything else 0x01000000.
int32_t runtimeKeyCode(int qtKey);

// The text a key gives without modifiers, as Qt reports it: printable keys their character as an
// unshifted keyboard types it (Qt's key numbers for letters are the capitals), Escape, Tab,
// Backspace, Return, Enter and Delete their control character, every other key none. Lets an
// application tell Escape from the other keys that share its code, such as Ctrl.
std::u16string unmodifiedKeyText(int qtKey);

} // namespace zelmo
