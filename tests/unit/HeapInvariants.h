// SPDX-License-Identifier: MIT
// Test helper: walks every pool of a VMHeap through checked guest reads and verifies the
// heap's structural invariants. Returns an empty string when they hold, else the first
// violation found, so that a test can EXPECT_EQ(checkHeapInvariants(heap), "").
#pragma once

#include "VirtualMachine/VMHeap.h"

#include <array>
#include <string>

namespace zelmo::testing {

inline std::string checkHeapInvariants(VMHeap& heap)
{
    GuestMemory& memory = heap.memory();
    std::array<size_t, kFreeListCount> freeByList{};
    int64_t inUse = 0, entrySizes = 0, freeSpace = 0, actual = 0, wasted = 0;
    const auto at = [](uint64_t address) { return " at " + std::to_string(address); };

    for (size_t i = 0; i < heap.poolCount(); ++i) {
        const uint32_t start = heap.poolStart(i);
        const uint32_t closing = start + heap.poolSize(i) - kHeapEntryHeader;
        if (memory.load32(start + 16) != GC_CODE_TERMINATOR || memory.load32(start + 4) != 0 ||
            memory.load32(start + 24) != kHeapEntryOverhead)
            return "bad first terminator" + at(start);
        bool previousMerged = false; // the previous entry is free and in a size-class list
        uint64_t a = start + kHeapEntryOverhead;
        for (;;) {
            if (a > closing) return "entries overrun their pool" + at(a);
            const uint32_t size = memory.load32(a + 4);
            if (a == closing) {
                if (memory.load32(a + 16) != GC_CODE_TERMINATOR || size != 0)
                    return "bad closing terminator" + at(a);
                break;
            }
            if (a + kHeapEntryOverhead + size > closing)
                return "entry runs into the closing terminator" + at(a);
            if (memory.load32(a + kHeapEntryHeader + size) != size + kHeapEntryOverhead)
                return "trailer does not match the size" + at(a);
            HeapEntry* entry = heap.entryOf(a + kHeapEntryHeader);
            if (heap.belongsToPools(a) != entry ||
                heap.belongsToPools(a + kHeapEntryOverhead + size - 1) != entry)
                return "belongsToPools disagrees with the walk" + at(a);
            if (entry->marked != 0) return "mark left set" + at(a);
            entrySizes += size;
            const bool free = entry->freeHeapEntryIterator != 0;
            bool merged = false;
            if (free) {
                if (entry->gcCode != GC_CODE_FREE) return "free entry with a gc code" + at(a);
                const int quick = quickList(size);
                const int k =
                    quick >= 0 && heap.freeListContains(quick, entry) ? quick : sizeClass(size);
                if (k != quick && (k >= kSizeClassCount || !heap.freeListContains(k, entry)))
                    return "free entry missing from its list" + at(a);
                merged = k < kSizeClassCount;
                if (merged && previousMerged) return "two adjacent merged free entries" + at(a);
                ++freeByList[size_t(k)];
                freeSpace += size;
            } else {
                if (entry->gcCode == GC_CODE_TERMINATOR || entry->actualSize > size ||
                    size - entry->actualSize > kHeapEntryOverhead || entry->actualSize % 4 != 0)
                    return "bad in-use entry" + at(a);
                ++inUse;
                actual += entry->actualSize;
                wasted += size - entry->actualSize;
            }
            previousMerged = merged;
            a += kHeapEntryOverhead + size;
        }
    }
    // Each free entry is in its own list; equal lengths leave no room for strays or duplicates.
    for (int k = 0; k < kFreeListCount; ++k) {
        if (heap.freeListLength(k) != freeByList[size_t(k)])
            return "free list " + std::to_string(k) + " has " +
                   std::to_string(heap.freeListLength(k)) + " nodes for " +
                   std::to_string(freeByList[size_t(k)]) + " free entries";
    }
    if (inUse != heap.entryCount())
        return "nOfEntries is " + std::to_string(heap.entryCount()) + ", walk found " +
               std::to_string(inUse);
    if (entrySizes != freeSpace + actual + wasted) return "accounting identity broken";
    return {};
}

} // namespace zelmo::testing
