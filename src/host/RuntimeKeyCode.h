// SPDX-License-Identifier: MIT
// The key codes applications receive, for the window's keys and for scripted input alike.
#pragma once

#include <cstdint>

namespace zelmo {

// The runtime key code for a Qt key code: printable keys 32-96 as they are, six editing and
// arrow keys to their own codes, everything else 0x01000000.
int32_t runtimeKeyCode(int qtKey);

} // namespace zelmo
