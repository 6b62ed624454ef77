// SPDX-License-Identifier: MIT
#include "VirtualMachineExtensions/ExtensionObjects.h"

#include <string>

namespace zelmo {

GCObject* hostObjectAt(VirtualMachine& vm, uint32_t handle)
{
    VMHeap& heap = vm.heap();
    if (!heap.isLiveHandle(handle) || heap.entryOf(handle)->isGCObject != -1) return nullptr;
    return vm.objects().find(vm.memory().load32(handle));
}

void rejectExtensionObject(uint32_t handle, std::string_view typeName)
{
    if (handle == 0) throwError(kNullPointer, "NULL pointer");
    throwError(kVMException, std::string(typeName) + " expected");
}

void storeOut(VirtualMachine& vm, uint32_t address, uint32_t value)
{
    if (address == 0) throwError(kNullPointer, "NULL pointer");
    vm.storeWord(address, value);
}

} // namespace zelmo
