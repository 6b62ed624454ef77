// SPDX-License-Identifier: MIT
// Managed objects of the extensions. Their handles come from the stack, so every lookup checks
// that the handle names a live heap entry holding a host object of the expected type.
#pragma once

#include "VirtualMachine/VirtualMachine.h"

#include <cstdint>
#include <string_view>

namespace zelmo {

// The host object behind `handle`: 0 raises NullPointerException "NULL pointer"; anything but
// a live object of type T raises VMException "<typeName> expected".
template <class T>
T& extensionObject(VirtualMachine& vm, uint32_t handle, std::string_view typeName);

// The raising half, out of line.
[[noreturn]] void rejectExtensionObject(uint32_t handle, std::string_view typeName);
// The host object of a live GCObject entry, or null.
GCObject* hostObjectAt(VirtualMachine& vm, uint32_t handle);

template <class T>
T& extensionObject(VirtualMachine& vm, uint32_t handle, std::string_view typeName)
{
    T* object = dynamic_cast<T*>(hostObjectAt(vm, handle));
    if (!object) rejectExtensionObject(handle, typeName);
    return *object;
}

// Stores `value` at the guest address an `out` argument names (0: "NULL pointer").
void storeOut(VirtualMachine& vm, uint32_t address, uint32_t value);

} // namespace zelmo
