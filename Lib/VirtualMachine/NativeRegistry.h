// SPDX-License-Identifier: MIT
// Which code answers a native call. Libraries bind handlers at start-up, before any machine
// runs: a group handler takes every catalogued operation of its group, and an operation
// handler takes one operation, winning over the group handler. The core binds its own groups
// through registerCoreNatives(); the window host's libraries bind the drawing groups. A
// catalogued operation nobody bound answers with its group's unknown-operation error.
#pragma once

namespace zelmo {

class VirtualMachine;

// Called with the signed operation byte; works on the machine's operand stack.
using NativeHandler = void (*)(VirtualMachine& vm, int operation);

// False (and nothing bound) when the group or the operation is not in the catalog.
bool bindNativeGroup(int group, NativeHandler handler);
bool bindNativeOperation(int group, int operation, NativeHandler handler);

// The handler a call would reach; null when the call fails.
NativeHandler nativeHandler(int group, int operation);

// Binds the groups the core implements. Safe to call more than once; every machine calls it
// when it is created.
void registerCoreNatives();
// Part of registerCoreNatives: DateTime and System's now(timezone), which need Qt's date-times.
// The lean build of the core (ZELMO_WITHOUT_QT, zelmo-vm's Qt-free run) has neither.
void bindDateTimeNatives();

} // namespace zelmo
