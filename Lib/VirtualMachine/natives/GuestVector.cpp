// SPDX-License-Identifier: MIT
// Storage management of array vectors: validation of the guest words, element views through
// GuestMemory's checked accessors, and the growth and shrink rules.
#include "VirtualMachine/natives/GuestVector.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace zelmo {

void GuestVector::corrupt() const
{
    char text[64];
    std::snprintf(text, sizeof text, "Corrupt array vector at 0x%08x", m_handle);
    raiseFatal(text);
}

int64_t GuestVector::capacityFor(int64_t n)
{
    return std::max<int64_t>(10, static_cast<int64_t>(static_cast<double>(n) * 1.2));
}

uint8_t* GuestVector::elements(int64_t first, int64_t count) const
{
    if (count <= 0) return nullptr;
    // The part was checked against the size and the storage against the capacity; the view is
    // checked once more, so nothing outside guest memory can be reached.
    return m_memory.bytes(static_cast<uint32_t>(m_data + uint64_t(first) * m_elementSize),
                          uint64_t(count) * m_elementSize);
}

uint32_t GuestVector::allocateStorage(int64_t length, int64_t& capacity) const
{
    capacity = capacityFor(length);
    const uint64_t bytes = uint64_t(capacity) * m_elementSize;
    if (bytes > kMaxStorageBytes) throwError(kInvalidArgument);
    return m_heap.allocate(static_cast<uint32_t>(bytes), 0, GC_CODE_NATIVE);
}

void GuestVector::store()
{
    m_words[VectorLayout::kData / 4] = m_data;
    m_words[VectorLayout::kCapacity / 4] = static_cast<uint32_t>(m_capacity);
    m_words[VectorLayout::kSize / 4] = static_cast<uint32_t>(m_size);
}

void GuestVector::splice(int64_t at, int64_t removeCount, const uint8_t* source,
                         int64_t insertCount)
{
    if (removeCount == 0 && insertCount == 0) return;
    const uint64_t width = m_elementSize;
    const int64_t length = m_size - removeCount + insertCount;
    if (uint64_t(length) * width > kMaxStorageBytes) throwError(kInvalidArgument);
    if (length == 0) {
        clear();
        return;
    }
    const int64_t tail = m_size - at - removeCount; // elements after the replaced part
    uint8_t* old = elements(0, m_size);

    // Elements inserted from this vector's own storage are copied out before anything moves.
    std::vector<uint8_t> copy;
    if (insertCount > 0 && old) {
        const auto from = reinterpret_cast<uintptr_t>(source);
        const auto storage = reinterpret_cast<uintptr_t>(old);
        if (from < storage + uint64_t(m_capacity) * width &&
            from + uint64_t(insertCount) * width > storage) {
            copy.assign(source, source + uint64_t(insertCount) * width);
            source = copy.data();
        }
    }

    const bool grows = length >= m_size;
    const bool inPlace =
        m_size > 0 && length <= m_capacity &&
        (grows || static_cast<float>(length) > static_cast<float>(m_capacity) * 0.5f);
    if (inPlace) {
        uint8_t* base = m_memory.bytes(m_data, uint64_t(m_capacity) * width);
        std::memmove(base + uint64_t(at + insertCount) * width,
                     base + uint64_t(at + removeCount) * width, uint64_t(tail) * width);
        if (insertCount > 0)
            std::memcpy(base + uint64_t(at) * width, source, uint64_t(insertCount) * width);
    } else {
        int64_t capacity = 0;
        const uint32_t data = allocateStorage(length, capacity);
        uint8_t* base = m_memory.bytes(data, uint64_t(capacity) * width);
        if (at > 0) std::memcpy(base, old, uint64_t(at) * width);
        if (insertCount > 0)
            std::memcpy(base + uint64_t(at) * width, source, uint64_t(insertCount) * width);
        if (tail > 0)
            std::memcpy(base + uint64_t(at + insertCount) * width,
                        old + uint64_t(at + removeCount) * width, uint64_t(tail) * width);
        m_data = data;
        m_capacity = capacity;
    }
    m_size = length;
    store();
}

void GuestVector::repeat(int64_t times)
{
    if (times == 0) {
        clear();
        return;
    }
    if (times == 1 || m_size == 0) return;
    const uint64_t width = m_elementSize;
    const uint64_t bytes = uint64_t(m_size) * width;
    if (uint64_t(times) > kMaxStorageBytes / bytes) throwError(kInvalidArgument);
    const int64_t length = m_size * times;
    uint8_t* base;
    if (length <= m_capacity) {
        base = m_memory.bytes(m_data, uint64_t(length) * width);
    } else {
        int64_t capacity = 0;
        const uint32_t data = allocateStorage(length, capacity);
        base = m_memory.bytes(data, uint64_t(length) * width);
        std::memcpy(base, elements(0, m_size), bytes);
        m_data = data;
        m_capacity = capacity;
    }
    for (int64_t k = 1; k < times; ++k)
        std::memcpy(base + uint64_t(k) * bytes, base, bytes);
    m_size = length;
    store();
}

void GuestVector::clear()
{
    m_data = 0;
    m_capacity = 0;
    m_size = 0;
    store();
}

GuestVector CheckedVectorCache::check(GuestMemory& memory, VMHeap& heap, uint32_t vector)
{
    const GuestVector checked = GuestVector::ofVector(memory, heap, vector, m_elementSize);
    if (checked.length() == 0) return checked;
    // With elements its storage was checked too.
    m_handle = vector;
    m_vector = memory.hostAddress(vector);
    std::memcpy(m_words, m_vector, sizeof m_words);
    m_header = memory.hostAddress(m_words[VectorLayout::kData / 4] - kHeapEntryHeader);
    std::memcpy(&m_storageSize, m_header + offsetof(HeapEntry, size), sizeof m_storageSize);
    std::memcpy(&m_storageState, m_header + offsetof(HeapEntry, gcCode), sizeof m_storageState);
    return checked;
}

uint32_t CheckedVectorCache::refill(GuestMemory& memory, VMHeap& heap, uint32_t vector,
                                    int64_t index)
{
    return check(memory, heap, vector).elementAddress(index);
}

} // namespace zelmo
