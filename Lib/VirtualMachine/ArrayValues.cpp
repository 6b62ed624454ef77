// SPDX-License-Identifier: MIT
// Creating and reading array values for the natives: vectors, their element storage and the
// array boxes that make an array an object of its own.
#include "VirtualMachine/VirtualMachine.h"

#include "VirtualMachine/natives/GuestVector.h"

#include <cstring>

namespace zelmo {

namespace {

void initVector(GuestMemory& memory, VMHeap& heap, uint32_t vector, uint32_t elementSize,
                int32_t count)
{
    memory.store32(vector + VectorLayout::kElementSize, elementSize);
    if (count <= 0) return;
    const uint32_t capacity = static_cast<uint32_t>(GuestVector::capacityFor(count));
    const uint64_t bytes = uint64_t{capacity} * elementSize;
    if (bytes > 0x40000000u) // a gigabyte of elements is not a real request
        throwError(kInvalidArgument);
    const uint32_t data = heap.allocate(static_cast<uint32_t>(bytes), 0, GC_CODE_NATIVE);
    memory.store32(vector + VectorLayout::kData, data);
    memory.store32(vector + VectorLayout::kCapacity, capacity);
    memory.store32(vector + VectorLayout::kSize, static_cast<uint32_t>(count));
}

} // namespace

uint32_t VirtualMachine::newVector(uint32_t elementSize, int32_t count)
{
    if (count < 0) throwError(kInvalidArgument);
    const uint32_t vector = m_heap.allocate(VectorLayout::kBytes, 0, GC_CODE_VECTOR);
    initVector(m_memory, m_heap, vector, elementSize, count);
    return vector;
}

uint32_t VirtualMachine::newArrayObject(uint32_t elementSize, int32_t count, bool references)
{
    if (count < 0) throwError(kInvalidArgument);
    const auto [vector, box] =
        m_heap.createHeapEntryPair(VectorLayout::kBytes, 0, GC_CODE_VECTOR, 8, 0,
                                   references ? GC_CODE_OBJECT_ARRAY : GC_CODE_PRIMITIVE_ARRAY);
    m_memory.store32(box, vector);
    m_memory.store32(box + 4, elementSize);
    initVector(m_memory, m_heap, vector, elementSize, count);
    return box;
}

uint32_t VirtualMachine::newByteArray(const uint8_t* data, size_t count)
{
    if (count > 0x40000000u) throwError(kInvalidArgument);
    const uint32_t box = newArrayObject(1, static_cast<int32_t>(count), false);
    if (count > 0) std::memcpy(vectorElements(m_memory.load32(box)), data, count);
    return box;
}

uint32_t VirtualMachine::vectorOf(uint32_t arrayAddress)
{
    const uint32_t vector = m_memory.load32(arrayAddress);
    if (vector == 0) throwError(kNullPointer, "NULL pointer");
    return vector;
}

uint8_t* VirtualMachine::vectorElements(uint32_t vector)
{
    const uint32_t count = m_memory.load32(vector + VectorLayout::kSize);
    const uint32_t elementSize = m_memory.load32(vector + VectorLayout::kElementSize);
    if (count == 0) return nullptr;
    // The element count and size are guest-writable words: the view is checked in 64 bits.
    return m_memory.bytes(m_memory.load32(vector + VectorLayout::kData),
                          uint64_t{count} * elementSize);
}

std::vector<uint8_t> VirtualMachine::arrayBytes(uint32_t arrayAddress)
{
    const uint32_t vector = vectorOf(arrayAddress);
    const uint32_t count = m_memory.load32(vector + VectorLayout::kSize);
    const uint32_t elementSize = m_memory.load32(vector + VectorLayout::kElementSize);
    const uint8_t* elements = vectorElements(vector);
    if (!elements) return {};
    return std::vector<uint8_t>(elements, elements + uint64_t{count} * elementSize);
}

} // namespace zelmo
