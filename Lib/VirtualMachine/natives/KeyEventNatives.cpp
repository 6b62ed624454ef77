// SPDX-License-Identifier: MIT
// The KeyEvent group. Not built yet: every operation answers with the group's unknown-operation
// error, which an application can catch.
#include "VirtualMachine.h"

namespace zelmo {

void VirtualMachine::keyEventNative(int /*operation*/) { unknownOperation("KeyEvent: invalid opcode "); }

} // namespace zelmo
