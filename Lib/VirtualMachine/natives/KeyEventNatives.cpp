// SPDX-License-Identifier: MIT
// Group 35, KeyEvent: accessors of the key event handed to the key handlers. Each takes the
// event reference on top of the stack and replaces it with the result.
#include "VirtualMachine/KeyEvent.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::keyEventNative(int operation)
{
    if (operation < 1 || operation > 4) unknownOperation("KeyEvent: invalid opcode ", operation);
    const Tarnel::KeyEvent& event = m_heap.objectAt<Tarnel::KeyEvent>(argU(0));
    switch (operation) {
    case 1:
        arg(0) = event.keyCode;
        break;
    case 2:
        arg(0) = event.modifiers;
        break;
    case 3:
        arg(0) = event.scanCode;
        break;
    case 4:
        arg(0) = static_cast<int32_t>(newString(event.text));
        break;
    }
}

} // namespace zelmo
