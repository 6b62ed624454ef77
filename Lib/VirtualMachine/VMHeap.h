// SPDX-License-Identifier: MIT
// The managed heap: pools of entries inside guest memory, 32 size-class free lists, 64 quick
// lists of small free entries, roots and a stop-the-world mark-and-sweep collector.
//
// Invariants (checked by the tests' pool walker):
//  - every pool is [terminator][trailer 28] entries... [closing terminator]; each entry is a
//    24-byte header, `size` data bytes and a trailer word holding size + 28, and the entries tile
//    the pool exactly;
//  - an entry is free exactly when freeHeapEntryIterator != 0, and then it is in exactly one
//    list: the free list of sizeClass(size), or the quick list of its exact size;
//  - no two free entries are adjacent unless one of them is in a quick list. A released small
//    entry waits there, unmerged, for the next request of its size (the common case of a
//    program that keeps replacing small objects); a merge with a released neighbour or the
//    next sweep takes it out again;
//  - `marked` is 1 only during a collection, for entries found reachable;
//  - a handle is the guest address of an entry's data (header + 24); 0 is null.
// Entries with isGCObject = -1 hold in their first data word the ObjectTable index of a host
// GCObject; releasing the entry destroys that object. A stream holder (GC_CODE_STREAM_HOLDER)
// holds a type id and, in its second word, the ObjectTable index of its stream.
#pragma once

#include "VirtualMachine/GuestMemory.h"
#include "VirtualMachine/ObjectTable.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelmo {

enum GcCode : int32_t {
    GC_CODE_FREE = 0,
    GC_CODE_CLASS_OBJECT = 1,
    GC_CODE_NATIVE = 2,
    GC_CODE_STRING = 3,
    GC_CODE_FONT = 5,
    GC_CODE_PRIMITIVE_ARRAY = 6,
    GC_CODE_OBJECT_ARRAY = 7,
    GC_CODE_VECTOR = 8,
    GC_CODE_STREAM_HOLDER = 12,
    GC_CODE_REFERENCE = 14,
    GC_CODE_DATE_TIME = 15,
    GC_CODE_PAIR = 16,
    GC_CODE_HASH = 17,
    GC_CODE_TERMINATOR = 18,
};

// Lives in guest memory; all fields 32-bit so that the guest layout is exact.
struct HeapEntry {
    uint32_t actualSize;            // requested size rounded up to a multiple of 4
    uint32_t size;                  // capacity of the data area
    int32_t isGCObject;             // -1: data word 0 is an ObjectTable index
    uint32_t marked;                // 1 while a collection has found it reachable
    int32_t gcCode;                 // GcCode
    uint32_t freeHeapEntryIterator; // free-list node index; 0 when in use
};
static_assert(sizeof(HeapEntry) == 24);

constexpr uint32_t kHeapEntryHeader = 24;
constexpr uint32_t kHeapEntryOverhead = 28; // header + trailer

// Where an array value's vector keeps its state: a GC_CODE_VECTOR entry of four words.
namespace VectorLayout {
constexpr uint32_t kElementSize = 0; // bytes per element
constexpr uint32_t kData = 4;        // handle of the GC_CODE_NATIVE element storage, or 0
constexpr uint32_t kCapacity = 8;    // elements
constexpr uint32_t kSize = 12;       // elements in use
constexpr uint32_t kBytes = 16;
} // namespace VectorLayout

class InterfaceForCallingGc {
public:
    virtual ~InterfaceForCallingGc() = default;
    // Scans the machine's stack for roots, then collects the heap.
    virtual void collectGarbage() = 0;
};

// The per-class field tables the collector traces objects with, indexed by class id.
struct ClassFieldTables {
    const std::vector<std::vector<int32_t>>* refFields = nullptr;
    const std::vector<std::vector<int32_t>>* arrayFields = nullptr;
    const std::vector<std::vector<uint8_t>>* arrayHoldsRefs = nullptr;
};

// Size class: the smallest k with 2^k >= bytes.
inline int sizeClass(uint32_t bytes)
{
    return bytes <= 1 ? 0 : 32 - std::countl_zero(bytes - 1);
}

constexpr int kSizeClassCount = 32;
constexpr uint32_t kQuickMaxSize = 256;
constexpr int kFreeListCount = kSizeClassCount + int(kQuickMaxSize / 4);

// The list index of the quick list for entries of exactly `size` data bytes; -1 for none.
inline int quickList(uint32_t size)
{
    return size >= 4 && size <= kQuickMaxSize && size % 4 == 0 ? kSizeClassCount + int(size / 4) - 1
                                                               : -1;
}

class VMHeap {
public:
    VMHeap(GuestMemory& memory, ObjectTable& objects, InterfaceForCallingGc* gc,
           uint32_t defaultPoolSize, ClassFieldTables tables);
    ~VMHeap();
    VMHeap(const VMHeap&) = delete;
    VMHeap& operator=(const VMHeap&) = delete;

    HeapEntry* createHeapEntry(uint32_t size, int32_t isGCObject, int32_t code);
    uint32_t allocate(uint32_t size, int32_t isGCObject, int32_t code);
    // Two adjacent entries from one block (an object and its companion, e.g. string and box).
    std::pair<uint32_t, uint32_t> createHeapEntryPair(uint32_t size1, int32_t isGCObject1,
                                                      int32_t code1, uint32_t size2,
                                                      int32_t isGCObject2, int32_t code2);
    // A host object in a new entry of `size` bytes (at least 4): data word 0 = its table index.
    uint32_t createObject(std::unique_ptr<GCObject> object, int32_t code, uint32_t size = 8);

    void release(uint32_t handle);
    HeapEntry* freeEntry(HeapEntry* entry);

    void addRoot(uint32_t handle);
    void removeRoot(uint32_t handle);
    bool isRoot(uint32_t handle) const;

    // The entry whose extent (header, data, trailer) contains the guest address, or null.
    HeapEntry* belongsToPools(uint64_t candidateAddress) const;

    // True when `handle` is the data address of an entry in use (a live object).
    bool isLiveHandle(uint32_t handle) const
    {
        if (handle < kHeapEntryHeader) return false;
        const HeapEntry* entry = belongsToPools(uint64_t{handle} - kHeapEntryHeader);
        return entry && handleOf(entry) == handle && entry->freeHeapEntryIterator == 0 &&
               entry->gcCode != GC_CODE_FREE && entry->gcCode != GC_CODE_TERMINATOR;
    }

    // Total bytes used; appends the usage report when `report` is given.
    int getMemUsage(std::string* report = nullptr);

    void collect();
    void mark(uint32_t handle);
    void markArrayValue(uint32_t arrayValueAddress, bool elementsAreReferences);
    void markIfInHeap(uint32_t word);
    // A word that may or may not be a reference (a global, an undescribed stack slot): keeps
    // alive what it points into, and is ignored when it points nowhere live.
    void markConservatively(uint32_t word);
    void sweep();

    HeapEntry* entryOf(uint32_t handle) const
    {
        return reinterpret_cast<HeapEntry*>(m_memory.hostAddress(handle - kHeapEntryHeader));
    }
    uint32_t handleOf(const HeapEntry* entry) const
    {
        return m_memory.guestAddress(entry) + kHeapEntryHeader;
    }
    // The host object of a GCObject entry; a managed error when it is none.
    template <class T> T& objectAt(uint32_t handle) const
    {
        return m_objects.get<T>(m_memory.load32(handle));
    }

    GuestMemory& memory() const { return m_memory; }
    ObjectTable& objects() const { return m_objects; }
    InterfaceForCallingGc* gcInterface() const { return m_gc; }
    int32_t entryCount() const { return m_nOfEntries; }
    size_t poolCount() const { return m_pools.size(); }
    uint32_t poolStart(size_t i) const { return m_pools[i]; }
    uint32_t poolSize(size_t i) const { return m_poolSizes[i]; }
    // For the invariant checker in the tests: is this entry the value of a node of list k
    // (size classes 0..31, then the quick lists)?
    bool freeListContains(int list, const HeapEntry* entry) const;
    size_t freeListLength(int list) const;

private:
    struct Impl;
    GuestMemory& m_memory;
    ObjectTable& m_objects;
    InterfaceForCallingGc* m_gc;
    ClassFieldTables m_tables;
    uint32_t m_defaultPoolSize;
    std::vector<uint32_t> m_pools;     // guest address of every pool, in creation order
    std::vector<uint32_t> m_poolSizes; // data size + 80
    int32_t m_nOfEntries = 0;
    uint64_t m_totalSizeOfPools = 0;
    std::unique_ptr<Impl> m_impl; // free lists, node pool, roots, work lists
};

} // namespace zelmo
