// SPDX-License-Identifier: MIT
// The heap's host-side bookkeeping, shared by the allocator (VMHeap.cpp) and the collector
// (VMHeap_Collector.cpp): free lists and their node pool, roots, the entry-start bitmap, the
// sorted pool ranges and the collector's work list. Not for use outside the heap.
#pragma once

#include "Containers/LinkedList.h"
#include "Containers/Vec.h"
#include "VirtualMachine/VMHeap.h"

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace zelmo {

// A free entry as its list holds it. The size is kept on the host side as well: the header lives
// in guest memory, where a program writing through a stale handle can change it, so the copy in
// the list is what bounds an allocation and the header's copy is only compared with it.
struct FreeBlock {
    HeapEntry* entry = nullptr;
    uint32_t size = 0;
    int list = 0; // the list holding the node: sizeClass(size), or a quick list
    bool operator==(const FreeBlock&) const = default;
};

struct VMHeap::Impl {
    using FreeList = LinkedList<FreeBlock>;
    // A quick list longer than this sends further releases of its size the merging way, so
    // that small entries cannot keep much memory apart from the rest between sweeps.
    static constexpr int kQuickListLimit = 64;
    // Pools larger than this would hold free entries beyond the last size class.
    static constexpr uint64_t kMaxPoolData = uint64_t{1} << 31;

    explicit Impl(VMHeap& heap);
    ~Impl();

    template <size_t... K>
    static std::array<FreeList, sizeof...(K)> makeFreeLists(ListNodePool<FreeBlock>* pool,
                                                            std::index_sequence<K...>)
    {
        return {{FreeList((void(K), pool))...}};
    }

    VMHeap& heap;
    ListNodePool<FreeBlock> nodePool;
    // Declared after nodePool: the lists give their nodes back before the pool goes away.
    std::array<FreeList, kFreeListCount> freeHeapEntries;
    uint32_t nonEmptyLists = 0; // bit k set: size-class list k has at least one entry
    LinkedList<HeapEntry*> roots;
    // One bit per 4 bytes of guest memory: set where an entry header starts. It lets forged or
    // stale handles be recognised in O(1) and finds the entry containing any pool address.
    std::vector<uint64_t> entryStarts;
    std::vector<std::pair<uint32_t, uint32_t>> poolRanges; // [start, end), sorted by start
    std::vector<uint32_t> gcWorkList;                      // the marking stack
    std::vector<uint32_t> dyingObjects;                    // table indexes released by a sweep
    bool corrupted = false; // set by the first damage found; the heap is unusable from then on

    // ---- damage ----
    // Every word of bookkeeping read from guest memory (sizes, trailers, free-list node indexes)
    // is checked against the host's own records before it bounds an access: a program may
    // damage its heap, and that must end the invocation in order, not harm the host.
    [[noreturn]] void reportDamage(const char* what, uint64_t address);
    // After damage every heap operation ends the same way, without printing again.
    void requireIntact() const
    {
        if (corrupted) [[unlikely]]
            throwError(kFatal);
    }

    // ---- entries ----
    HeapEntry* entryAt(uint64_t address) const
    {
        return reinterpret_cast<HeapEntry*>(heap.m_memory.hostAddress(uint32_t(address)));
    }
    uint32_t addressOf(const HeapEntry* entry) const { return heap.m_memory.guestAddress(entry); }
    static uint8_t* bytesOf(HeapEntry* entry) { return reinterpret_cast<uint8_t*>(entry); }
    static uint32_t word(const HeapEntry* entry, uint32_t index)
    {
        uint32_t value;
        std::memcpy(&value, reinterpret_cast<const uint8_t*>(entry) + kHeapEntryHeader + 4 * index,
                    4);
        return value;
    }
    static void writeTrailer(HeapEntry* entry)
    {
        const uint32_t length = entry->size + kHeapEntryOverhead;
        std::memcpy(bytesOf(entry) + kHeapEntryHeader + entry->size, &length, 4);
    }
    static uint32_t trailerAt(const HeapEntry* entry, uint32_t size)
    {
        uint32_t length;
        std::memcpy(&length, reinterpret_cast<const uint8_t*>(entry) + kHeapEntryHeader + size, 4);
        return length;
    }
    // The entry's size once its trailer agrees and the next entry starts right after it.
    uint32_t checkedSize(const HeapEntry* entry)
    {
        const uint32_t size = entry->size;
        const uint64_t next = uint64_t{addressOf(entry)} + kHeapEntryOverhead + size;
        // The start bit first: it proves the trailer word lies in memory handed out to pools.
        if (!isEntryStart(next) || trailerAt(entry, size) != uint64_t{size} + kHeapEntryOverhead)
            [[unlikely]]
            reportDamage("entry size or trailer", addressOf(entry));
        return size;
    }
    HeapEntry* nextOf(HeapEntry* entry)
    {
        return entryAt(uint64_t{addressOf(entry)} + kHeapEntryOverhead + checkedSize(entry));
    }
    HeapEntry* previousOf(HeapEntry* entry);
    // The ObjectTable index an entry owns (stream holders: word 1; GCObjects: word 0), or 0.
    static uint32_t hostObjectIndex(const HeapEntry* entry);

    // ---- the entry-start bitmap ----
    bool isEntryStart(uint64_t address) const
    {
        const uint64_t bit = address >> 2;
        return (address & 3) == 0 && (bit >> 6) < entryStarts.size() &&
               (entryStarts[bit >> 6] >> (bit & 63) & 1) != 0;
    }
    void setEntryStart(uint32_t address)
    {
        entryStarts[address >> 8] |= uint64_t{1} << (address >> 2 & 63);
    }
    void clearEntryStart(uint32_t address)
    {
        entryStarts[address >> 8] &= ~(uint64_t{1} << (address >> 2 & 63));
    }
    uint32_t entryStartAtOrBefore(uint32_t address, uint32_t poolStart);

    // ---- pools and free lists ----
    // A new pool whose one free entry is listed already; returns that entry's list node.
    ListEntry<FreeBlock>* addPool(uint64_t dataSize);
    [[noreturn]] static void refuseHugeRequest();
    // The list node of a free block of at least alignedSize bytes, left on its list; null when
    // there is none.
    ListEntry<FreeBlock>* findFreeNode(uint32_t alignedSize);
    void addEntryToFreeEntries(HeapEntry* entry);
    // The earliest released entry of exactly alignedSize bytes, left on its quick list; null
    // when there is none.
    ListEntry<FreeBlock>* quickNode(uint32_t alignedSize);
    // Frees an in-use entry: into its quick list when it has one with room, else merged.
    HeapEntry* releaseEntry(HeapEntry* entry);
    // Makes `node`, whose block was split or merged, list `entry` at its new size. The node
    // keeps its place unless the size class changed: carving a large block or growing a run of
    // freed neighbours then costs no list traffic.
    void relist(ListEntry<FreeBlock>* node, HeapEntry* entry);
    // Lists a new free entry: through the node of a block it absorbed, else through a new node.
    void listFree(HeapEntry* entry, ListEntry<FreeBlock>* node)
    {
        if (node)
            relist(node, entry);
        else
            addEntryToFreeEntries(entry);
    }
    // Makes the entries from `run` up to the entry at `end` one free entry (the sweep's runs).
    void closeRun(HeapEntry* run, uint32_t end, ListEntry<FreeBlock>* node);
    // The list node an entry's header names, once it is known to hold that entry and size.
    ListEntry<FreeBlock>* checkedNode(const HeapEntry* entry);
    void unlinkNode(ListEntry<FreeBlock>* node);
    // Frees an in-use entry and merges it with free neighbours; runs no release action.
    HeapEntry* unlinkAndMerge(HeapEntry* entry);
    void warnAlreadyFree(uint32_t handle) const;

    // ---- marking ----
    HeapEntry* requireMarkable(uint32_t handle);
    void drain();
    void traceClassObject(const HeapEntry* entry);
    void traceArrayValue(uint32_t vectorHandle, bool elementsAreReferences);
    // After a failed mark: no entry may stay marked outside a collection.
    void abandonMarking();
};

} // namespace zelmo
