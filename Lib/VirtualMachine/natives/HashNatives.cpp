// SPDX-License-Identifier: MIT
// Group 34, Hash: digest objects. An object keeps the selector it was made with and every byte
// given to update; no digest algorithm is provided, so every digest is an empty byte array.
// A hash argument is the address of the variable or field that holds the object.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

namespace Tarnel {

class Hash : public GCObject {
public:
    explicit Hash(int32_t selector) : selector(selector) {}
    int memoryOutsideHeap() const override { return static_cast<int>(buffer.capacity()); }

    int32_t selector;
    std::vector<uint8_t> buffer;
};

} // namespace Tarnel

namespace {

Tarnel::Hash& hashAt(VirtualMachine& vm, uint32_t reference)
{
    const uint32_t object = vm.loadWord(reference);
    if (object == 0) throwError(kNullPointer, "NULL pointer");
    return vm.heap().objectAt<Tarnel::Hash>(object);
}

} // namespace

void VirtualMachine::hashNative(int operation)
{
    switch (operation) {
    case 1: { // create(r, selector)
        const uint32_t target = argU(1);
        if (target == 0) throwError(kNullPointer, "NULL pointer");
        const uint32_t object =
            m_heap.createObject(std::make_unique<Tarnel::Hash>(arg(0)), GC_CODE_HASH);
        storeWord(target, object);
        popWords(2);
        return;
    }
    case 2:                // hashBytes(byte array, selector)
        vectorOf(argU(1)); // a null array is refused even though the digest ignores it
        arg(1) = static_cast<int32_t>(newByteArray(nullptr, 0));
        popWords(1);
        return;
    case 3: { // update(h, byte array)
        Tarnel::Hash& hash = hashAt(*this, argU(1));
        const std::vector<uint8_t> bytes = arrayBytes(argU(0));
        hash.buffer.insert(hash.buffer.end(), bytes.begin(), bytes.end());
        popWords(2);
        return;
    }
    case 4: // digest(h); the buffer stays as it was
        hashAt(*this, argU(0));
        arg(0) = static_cast<int32_t>(newByteArray(nullptr, 0));
        return;
    default:
        unknownOperation("Hash:");
    }
}

} // namespace zelmo
