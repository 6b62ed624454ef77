// SPDX-License-Identifier: MIT
// The hottest one-word array operations as handlers of their own, bound over the IntArray group
// handler so that a call skips the group's switch. The interpreter runs elementRef, length and
// appends that fit the storage in line at sites bound to these handlers (NativeSites.h), checking
// exactly what the group handler checks (GuestVector, CheckedVectorCache).
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/NativeSites.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/GuestVector.h"

namespace zelmo {

namespace {

constexpr int kIntArray = 3;
constexpr int kElementRef = 6;
constexpr int kLength = 11;
constexpr int kAppend = 19;

GuestVector openIntArray(VirtualMachine& vm, uint32_t arrayAddress)
{
    return GuestVector::ofArray(vm.memory(), vm.heap(), arrayAddress, 4);
}

void elementRef(VirtualMachine& vm, int)
{
    vm.arg(1) = static_cast<int32_t>(openIntArray(vm, vm.argU(1)).elementAddress(vm.arg(0)));
    vm.popWords(1);
}

void length(VirtualMachine& vm, int)
{
    vm.arg(0) = static_cast<int32_t>(openIntArray(vm, vm.argU(0)).length());
}

void append(VirtualMachine& vm, int)
{
    const uint32_t element = vm.argU(0);
    GuestVector v = openIntArray(vm, vm.argU(1));
    v.splice(v.length(), 0, reinterpret_cast<const uint8_t*>(&element), 1);
    vm.popWords(2);
}

} // namespace

void bindArrayOperations()
{
    bindNativeOperation(kIntArray, kElementRef, &elementRef);
    bindNativeOperation(kIntArray, kLength, &length);
    bindNativeOperation(kIntArray, kAppend, &append);
}

NativeSite nativeSiteFor(int group, int operation)
{
    const NativeHandler handler = nativeHandler(group, operation);
    if (handler == &elementRef) return NativeSite::IntElementRef;
    if (handler == &length) return NativeSite::IntLength;
    if (handler == &append) return NativeSite::IntAppend;
    return stringSiteFor(group, operation);
}

} // namespace zelmo
