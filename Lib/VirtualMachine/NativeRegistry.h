// SPDX-License-Identifier: MIT
// Which code answers a native call. Libraries bind handlers at start-up, before any machine
// runs: a group handler takes every operation of its group, and an operation handler takes one
// operation, winning over the group handler. Calls nobody bound reach the machine's own groups.
#pragma once

namespace zelmo {

class VirtualMachine;

// Called with the signed operation byte; works on the machine's operand stack.
using NativeHandler = void (*)(VirtualMachine& vm, int operation);

// False (and nothing bound) when the group is not one of 1 .. 36.
bool bindNativeGroup(int group, NativeHandler handler);
bool bindNativeOperation(int group, int operation, NativeHandler handler);

// The handler bound for a call; null when the machine's own group answers it.
NativeHandler nativeHandler(int group, int operation);

} // namespace zelmo
