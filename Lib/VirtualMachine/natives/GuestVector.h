// SPDX-License-Identifier: MIT
// One array's vector as the array natives edit it: the four guest words of VectorLayout
// (element size, storage handle, capacity, size) and the GC_CODE_NATIVE entry that holds the
// elements. Storage follows one growth rule: new storage for n elements has room for
// max(10, floor(1.2 n)); an insertion that does not fit moves everything into new storage for
// exactly the new length; a removal edits in place while more than half of the capacity stays
// in use and otherwise moves the rest into new storage. Old storage is left to the collector,
// which is also why an empty vector never keeps storage: the collector stops following the
// storage of a vector whose size is 0, so it must not be written again.
#pragma once

#include "Base/Errors.h"
#include "VirtualMachine/GuestMemory.h"
#include "VirtualMachine/VMHeap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zelmo {

class GuestVector {
public:
    // Largest element storage the natives create, in bytes.
    static constexpr uint64_t kMaxStorageBytes = uint64_t{1} << 30;

    // Opens the vector `handle` for elements of `elementSize` bytes. Its words are guest data
    // and are checked first: a wrong element size, a size above the capacity, or storage that
    // is not a live GC_CODE_NATIVE entry large enough for the capacity is a fatal error.
    // (Inline: element access opens a vector on every call.)
    GuestVector(GuestMemory& memory, VMHeap& heap, uint32_t handle, uint32_t elementSize)
        : m_memory(memory), m_heap(heap), m_handle(handle),
          m_words(memory.words(handle, VectorLayout::kBytes / 4))
    {
        m_elementSize = m_words[VectorLayout::kElementSize / 4];
        m_data = m_words[VectorLayout::kData / 4];
        m_capacity = m_words[VectorLayout::kCapacity / 4];
        m_size = m_words[VectorLayout::kSize / 4];
        if (m_elementSize != elementSize || m_size > m_capacity) [[unlikely]]
            corrupt();
        if (m_size > 0) checkStorage();
    }

    // The vector of the array value at `arrayAddress` (its first word); a null address or an
    // array without a vector raises "NULL pointer".
    static GuestVector ofArray(GuestMemory& memory, VMHeap& heap, uint32_t arrayAddress,
                               uint32_t elementSize)
    {
        return ofVector(memory, heap, memory.load32(arrayAddress), elementSize);
    }
    // The same from the array's first word, `vector`, already read.
    static GuestVector ofVector(GuestMemory& memory, VMHeap& heap, uint32_t vector,
                                uint32_t elementSize)
    {
        if (vector == 0) [[unlikely]]
            throwError(kNullPointer, "NULL pointer");
        return GuestVector(memory, heap, vector, elementSize);
    }

    uint32_t handle() const { return m_handle; }
    int64_t length() const { return m_size; }
    uint32_t elementSize() const { return m_elementSize; }

    // Guest address of element `index`; IndexOutOfBoundsException outside 0..length-1.
    uint32_t elementAddress(int64_t index) const
    {
        if (index < 0 || index >= m_size) [[unlikely]]
            throwError(kIndexOutOfBounds);
        return static_cast<uint32_t>(m_data + uint64_t(index) * m_elementSize);
    }
    // Host view of `count` elements from `first` (inside the length; null when count is 0).
    uint8_t* elements(int64_t first, int64_t count) const;

    // Replaces `removeCount` elements at `at` by `insertCount` elements read from `source`,
    // which may lie in this vector's own storage. The part must lie inside the vector.
    void splice(int64_t at, int64_t removeCount, const uint8_t* source, int64_t insertCount);
    // The elements repeated `times` (>= 0) times.
    void repeat(int64_t times);
    void clear();

    // Room for n elements in new storage.
    static int64_t capacityFor(int64_t n);

private:
    [[noreturn]] void corrupt() const;
    // The storage must still be the live element block this vector was given, large enough
    // for the capacity.
    void checkStorage() const
    {
        if (m_data < kHeapEntryHeader) [[unlikely]]
            corrupt();
        const HeapEntry* header = reinterpret_cast<const HeapEntry*>(
            m_memory.words(m_data - kHeapEntryHeader, kHeapEntryHeader / 4));
        if (header->gcCode != GC_CODE_NATIVE || header->freeHeapEntryIterator != 0 ||
            uint64_t{header->size} < uint64_t(m_capacity) * m_elementSize) [[unlikely]]
            corrupt();
    }
    // New zeroed storage for `length` elements; returns its handle and sets `capacity`.
    uint32_t allocateStorage(int64_t length, int64_t& capacity) const;
    void store();

    GuestMemory& m_memory;
    VMHeap& m_heap;
    uint32_t m_handle;
    uint32_t* m_words; // host view of the vector's four words
    uint32_t m_elementSize;
    uint32_t m_data;
    int64_t m_capacity;
    int64_t m_size;
};

// The last vector of `elementSize`-byte elements that passed GuestVector's full check with
// elements in it, and the guest words that check read: the vector's four words and its storage
// header's size, GC code and free-list words. The outcome depends on nothing else (guest memory
// only grows, so a range that was inside stays inside), so while those words are unchanged the
// vector passes again and comparing them replaces the check. Anything else (another vector, a
// changed word, nothing remembered yet) takes the full check, so every fault is GuestVector's.
class CheckedVectorCache {
public:
    explicit CheckedVectorCache(uint32_t elementSize) : m_elementSize(elementSize) {}

    // GuestVector::ofVector(memory, heap, vector, elementSize).elementAddress(index).
    uint32_t elementAddress(GuestMemory& memory, VMHeap& heap, uint32_t vector, int64_t index)
    {
        // The element size word is among the words compared.
        if (vector != m_handle || !unchanged()) [[unlikely]]
            return refill(memory, heap, vector, index);
        // A negative index wraps round to a huge one.
        if (uint64_t(index) >= m_words[VectorLayout::kSize / 4]) [[unlikely]]
            throwError(kIndexOutOfBounds);
        return static_cast<uint32_t>(m_words[VectorLayout::kData / 4] +
                                     uint64_t(index) * m_elementSize);
    }

    // The same without the full check: true, with the address, when `vector` is the remembered
    // vector, unchanged, and index lies inside it; false when elementAddress() must decide.
    bool rememberedElementAddress(uint32_t vector, int64_t index, uint32_t& address) const
    {
        if (vector != m_handle || !unchanged() ||
            uint64_t(index) >= m_words[VectorLayout::kSize / 4]) [[unlikely]]
            return false;
        address = static_cast<uint32_t>(m_words[VectorLayout::kData / 4] +
                                        uint64_t(index) * m_elementSize);
        return true;
    }

    // GuestVector::ofVector(memory, heap, vector, 4).splice(length, 0, &element, 1) for a cache
    // of word elements when the element fits in the vector's storage (the vector keeps its
    // storage: the element and the size word are written); false, having changed nothing, when
    // the full path must do it.
    bool appendInPlace(GuestMemory& memory, VMHeap& heap, uint32_t vector, uint32_t element)
    {
        if ((vector != m_handle || !unchanged()) && check(memory, heap, vector).length() == 0)
            return false;
        const uint32_t size = m_words[VectorLayout::kSize / 4];
        if (m_elementSize != sizeof element || size >= m_words[VectorLayout::kCapacity / 4] ||
            (uint64_t{size} + 1) * m_elementSize > GuestVector::kMaxStorageBytes) [[unlikely]]
            return false;
        std::memcpy(memory.bytes(static_cast<uint32_t>(m_words[VectorLayout::kData / 4] +
                                                       uint64_t{size} * m_elementSize),
                                 sizeof element),
                    &element, sizeof element);
        m_words[VectorLayout::kSize / 4] = size + 1;
        memory.store32(vector + VectorLayout::kSize, size + 1);
        return true;
    }

private:
    // Both ranges were inside guest memory when they were remembered, so they still are.
    bool unchanged() const
    {
        return std::memcmp(m_vector, m_words, sizeof m_words) == 0 &&
               std::memcmp(m_header + offsetof(HeapEntry, size), &m_storageSize,
                           sizeof m_storageSize) == 0 &&
               std::memcmp(m_header + offsetof(HeapEntry, gcCode), &m_storageState,
                           sizeof m_storageState) == 0;
    }
    uint32_t refill(GuestMemory& memory, VMHeap& heap, uint32_t vector, int64_t index);
    // The full check of `vector` (its faults are GuestVector's); remembers it when it has
    // elements.
    GuestVector check(GuestMemory& memory, VMHeap& heap, uint32_t vector);

    // Nothing remembered yet: the handle is 0, which is never a vector (the full check raises
    // "NULL pointer" for it), and the view shows words unlike m_words, so the compare fails.
    static constexpr uint32_t kNoWords[VectorLayout::kBytes / 4] = {1, 1, 1, 1};

    const uint32_t m_elementSize;
    uint32_t m_handle = 0;
    uint32_t m_words[VectorLayout::kBytes / 4] = {};
    uint32_t m_storageSize = 0;
    uint64_t m_storageState = 0; // gcCode and freeHeapEntryIterator
    // Host views of the vector's words and of its storage header.
    const uint8_t* m_vector = reinterpret_cast<const uint8_t*>(kNoWords);
    const uint8_t* m_header = nullptr;
};

} // namespace zelmo
