// SPDX-License-Identifier: MIT
// The managed heap's allocator: pools inside guest memory, entry creation and splitting,
// release with merging of free neighbours, roots and the memory-usage report. Marking and
// sweeping live in VMHeap_Collector.cpp.
#include "VirtualMachine/VMHeap.h"

#include "Base/Errors.h"
#include "VirtualMachine/VMHeapPrivate.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace zelmo {

namespace {
constexpr uint32_t kPoolFraming = 80; // two terminators, one trailer and the free entry's frame
// A block is split only when the rest can hold an entry with at least 4 data bytes.
constexpr uint32_t kSplitThreshold = kHeapEntryOverhead;

uint64_t alignedSize(uint64_t size)
{
    return (size + 3) & ~uint64_t{3};
}
} // namespace

// ---- VMHeap::Impl: bookkeeping ----

VMHeap::Impl::Impl(VMHeap& owner)
    : heap(owner),
      freeHeapEntries(makeFreeLists(&nodePool, std::make_index_sequence<kFreeListCount>()))
{
}

VMHeap::Impl::~Impl() = default;

void VMHeap::Impl::reportDamage(const char* what, uint64_t address)
{
    requireIntact();
    corrupted = true;
    char text[96];
    std::snprintf(text, sizeof text, "Heap corrupted: %s at 0x%08llx", what,
                  static_cast<unsigned long long>(address));
    raiseFatal(text);
}

HeapEntry* VMHeap::Impl::previousOf(HeapEntry* entry)
{
    const uint32_t address = addressOf(entry);
    // Below the first pool lies the arena's inaccessible first 64 KiB: only a released first
    // terminator (its code overwritten) could make us look there.
    if (address < GuestMemory::kFirstUsable + 4) [[unlikely]]
        reportDamage("trailer", address - 4);
    uint32_t length;
    std::memcpy(&length, bytesOf(entry) - 4, 4);
    const uint64_t previous = uint64_t{address} - length;
    if (length > address || !isEntryStart(previous) ||
        entryAt(previous)->size + uint64_t{kHeapEntryOverhead} != length) [[unlikely]]
        reportDamage("trailer", address - 4);
    return entryAt(previous);
}

uint32_t VMHeap::Impl::hostObjectIndex(const HeapEntry* entry)
{
    if (entry->gcCode == GC_CODE_STREAM_HOLDER) return entry->size >= 8 ? word(entry, 1) : 0;
    if (entry->isGCObject != 0) return entry->size >= 4 ? word(entry, 0) : 0;
    return 0;
}

uint32_t VMHeap::Impl::entryStartAtOrBefore(uint32_t address, uint32_t poolStart)
{
    const uint32_t bit = address >> 2;
    size_t index = bit >> 6;
    uint64_t bits = entryStarts[index] & (~uint64_t{0} >> (63 - (bit & 63)));
    while (bits == 0) {
        // The pool's first terminator is always marked, so the scan stops inside the pool.
        if (index <= (poolStart >> 8)) [[unlikely]]
            reportDamage("pool start", poolStart);
        bits = entryStarts[--index];
    }
    return static_cast<uint32_t>((index * 64 + 63 - std::countl_zero(bits)) * 4);
}

ListEntry<FreeBlock>* VMHeap::Impl::addPool(uint64_t dataSize)
{
    if (dataSize > kMaxPoolData) refuseHugeRequest();
    const uint64_t poolBytes = dataSize + kPoolFraming;
    const uint32_t start = heap.m_memory.allocate(poolBytes);
    const uint32_t n = static_cast<uint32_t>(dataSize);

    // Make room in every host-side table first, so that nothing below can fail half-way.
    const uint64_t end = uint64_t{start} + poolBytes;
    if ((end >> 8) + 1 > entryStarts.size()) entryStarts.resize((end >> 8) + 1);
    heap.m_pools.reserve(heap.m_pools.size() + 1);
    heap.m_poolSizes.reserve(heap.m_poolSizes.size() + 1);
    poolRanges.reserve(poolRanges.size() + 1);
    nodePool.reserve(1);

    HeapEntry* first = entryAt(start);
    *first = HeapEntry{};
    first->gcCode = GC_CODE_TERMINATOR;
    writeTrailer(first);
    HeapEntry* free = entryAt(uint64_t{start} + kHeapEntryOverhead);
    *free = HeapEntry{};
    free->size = n;
    writeTrailer(free);
    HeapEntry* closing = entryAt(uint64_t{start} + 2 * kHeapEntryOverhead + n);
    *closing = HeapEntry{};
    closing->gcCode = GC_CODE_TERMINATOR;

    setEntryStart(addressOf(first));
    setEntryStart(addressOf(free));
    setEntryStart(addressOf(closing));
    heap.m_pools.push_back(start);
    heap.m_poolSizes.push_back(static_cast<uint32_t>(poolBytes));
    const auto range = std::make_pair(start, static_cast<uint32_t>(end));
    poolRanges.insert(std::upper_bound(poolRanges.begin(), poolRanges.end(), range), range);
    heap.m_totalSizeOfPools += poolBytes;
    addEntryToFreeEntries(free);
    return nodePool.node(free->freeHeapEntryIterator);
}

void VMHeap::Impl::refuseHugeRequest()
{
    raiseFatal("Out of memory: a heap object cannot be larger than 2 GiB");
}

ListEntry<FreeBlock>* VMHeap::Impl::findFreeNode(uint32_t alignedSize)
{
    const int c = sizeClass(alignedSize);
    // Every entry of a higher class is larger than 2^c >= the request: take the oldest one.
    const uint32_t above = c >= kSizeClassCount - 1 ? 0 : nonEmptyLists & (~uint32_t{0} << (c + 1));
    ListEntry<FreeBlock>* node = nullptr;
    if (above != 0) {
        node = freeHeapEntries[std::countr_zero(above)].begin().node();
    } else if (nonEmptyLists & (uint32_t{1} << c)) {
        for (auto it = freeHeapEntries[c].begin(); it; ++it) {
            if (it->size >= alignedSize) {
                node = it.node();
                break;
            }
        }
    }
    // The header must still name this node: otherwise the entry was listed twice or rewritten.
    if (node && node->value.entry->freeHeapEntryIterator != node->index) [[unlikely]]
        reportDamage("free-list link", addressOf(node->value.entry));
    return node;
}

void VMHeap::Impl::addEntryToFreeEntries(HeapEntry* entry)
{
    // Callers computed the size from checked sizes; it is below 2^31, so the class fits.
    const uint32_t size = entry->size;
    const int k = sizeClass(size);
    const auto position = freeHeapEntries[k].append({entry, size, k});
    entry->freeHeapEntryIterator = position.node()->index;
    nonEmptyLists |= uint32_t{1} << k;
}

ListEntry<FreeBlock>* VMHeap::Impl::quickNode(uint32_t alignedSize)
{
    const int q = quickList(alignedSize);
    if (q < 0 || freeHeapEntries[q].isEmpty()) return nullptr;
    // The oldest first: entries come back in the order they were released, as they would
    // from a merged block.
    ListEntry<FreeBlock>* node = freeHeapEntries[q].begin().node();
    if (node->value.entry->freeHeapEntryIterator != node->index) [[unlikely]]
        reportDamage("free-list link", addressOf(node->value.entry));
    return node;
}

HeapEntry* VMHeap::Impl::releaseEntry(HeapEntry* entry)
{
    const int q = quickList(checkedSize(entry));
    if (q < 0 || freeHeapEntries[q].count() >= kQuickListLimit) return unlinkAndMerge(entry);
    previousOf(entry); // checked as a merge would check it, so that damage shows at once
    nodePool.reserve(1);
    --heap.m_nOfEntries;
    entry->isGCObject = 0;
    entry->marked = 0;
    entry->gcCode = GC_CODE_FREE;
    const auto position = freeHeapEntries[q].append({entry, entry->size, q});
    entry->freeHeapEntryIterator = position.node()->index;
    return entry;
}

ListEntry<FreeBlock>* VMHeap::Impl::checkedNode(const HeapEntry* entry)
{
    ListEntry<FreeBlock>* node = nodePool.node(entry->freeHeapEntryIterator);
    if (!node || node->value.entry != entry) [[unlikely]]
        reportDamage("free-list link", addressOf(entry));
    if (node->value.size != entry->size) [[unlikely]]
        reportDamage("free entry size", addressOf(entry));
    return node;
}

void VMHeap::Impl::relist(ListEntry<FreeBlock>* node, HeapEntry* entry)
{
    const int from = node->value.list;
    const int to = sizeClass(entry->size);
    if (to != from) {
        FreeList& list = freeHeapEntries[from];
        list.moveToEnd(LinkedListIterator<FreeBlock>(node), freeHeapEntries[to]);
        if (from < kSizeClassCount && list.isEmpty()) nonEmptyLists &= ~(uint32_t{1} << from);
        nonEmptyLists |= uint32_t{1} << to;
    }
    node->value = {entry, entry->size, to};
    entry->freeHeapEntryIterator = node->index;
}

void VMHeap::Impl::unlinkNode(ListEntry<FreeBlock>* node)
{
    const int k = node->value.list;
    FreeList& list = freeHeapEntries[k];
    list.erase(LinkedListIterator<FreeBlock>(node));
    if (k < kSizeClassCount && list.isEmpty()) nonEmptyLists &= ~(uint32_t{1} << k);
}

HeapEntry* VMHeap::Impl::unlinkAndMerge(HeapEntry* entry)
{
    nodePool.reserve(1); // taking the list node is the only step below that could fail
    --heap.m_nOfEntries;
    entry->isGCObject = 0;
    entry->marked = 0;
    entry->gcCode = GC_CODE_FREE;

    // The merged block keeps the list node of a free neighbour (the previous one's when both
    // are free). A node's value stays as listed until relist, which finds its list by it.
    // Terminators are never free, so neither loop leaves the pool; every merge clears a start
    // bit, so neither runs longer than the pool has entries (a side takes more than one round
    // only where entries of the quick lists lie next to each other).
    ListEntry<FreeBlock>* node = nullptr;
    const auto adopt = [&](HeapEntry* neighbour) {
        ListEntry<FreeBlock>* listed = checkedNode(neighbour);
        if (node) unlinkNode(node);
        node = listed;
    };
    for (HeapEntry* next = nextOf(entry); next->freeHeapEntryIterator != 0; next = nextOf(entry)) {
        adopt(next);
        next->freeHeapEntryIterator = 0;
        clearEntryStart(addressOf(next));
        entry->size += next->size + kHeapEntryOverhead;
        writeTrailer(entry);
    }
    for (HeapEntry* previous = previousOf(entry); previous->freeHeapEntryIterator != 0;
         previous = previousOf(entry)) {
        adopt(previous);
        clearEntryStart(addressOf(entry));
        previous->size += entry->size + kHeapEntryOverhead;
        writeTrailer(previous);
        entry = previous;
    }
    listFree(entry, node);
    return entry;
}

void VMHeap::Impl::closeRun(HeapEntry* run, uint32_t end, ListEntry<FreeBlock>* node)
{
    run->size = end - addressOf(run) - kHeapEntryOverhead;
    run->isGCObject = 0;
    run->marked = 0;
    run->gcCode = GC_CODE_FREE;
    writeTrailer(run);
    listFree(run, node);
}

void VMHeap::Impl::warnAlreadyFree(uint32_t handle) const
{
    std::fprintf(stderr, "Warning: release of heap object %u ignored: it is already free\n",
                 handle);
}

// ---- VMHeap ----

VMHeap::VMHeap(GuestMemory& memory, ObjectTable& objects, InterfaceForCallingGc* gc,
               uint32_t defaultPoolSize, ClassFieldTables tables)
    : m_memory(memory), m_objects(objects), m_gc(gc), m_tables(tables),
      m_defaultPoolSize(static_cast<uint32_t>(
          std::min<uint64_t>(alignedSize(defaultPoolSize), Impl::kMaxPoolData))),
      m_impl(std::make_unique<Impl>(*this))
{
    m_impl->addPool(m_defaultPoolSize);
}

VMHeap::~VMHeap() = default;

HeapEntry* VMHeap::createHeapEntry(uint32_t size, int32_t isGCObject, int32_t code)
{
    m_impl->requireIntact();
    const uint64_t aligned = alignedSize(size);
    m_impl->nodePool.reserve(1); // for relisting the rest: no failure once the block is taken
    ListEntry<FreeBlock>* node = nullptr;
    if (aligned <= Impl::kMaxPoolData) {
        node = m_impl->quickNode(static_cast<uint32_t>(aligned));
        if (!node) node = m_impl->findFreeNode(static_cast<uint32_t>(aligned));
    }
    if (!node) node = m_impl->addPool(std::max<uint64_t>(aligned, m_defaultPoolSize));
    const FreeBlock block = node->value;
    HeapEntry* he = block.entry;
    const uint32_t s = static_cast<uint32_t>(aligned);

    // The list's size bounds every write below, whatever the header says by now.
    he->size = block.size;
    if (block.size - s > kSplitThreshold) {
        // The rest keeps the block's list node: carving a large block costs no list traffic.
        uint8_t* base = Impl::bytesOf(he);
        HeapEntry* rest = reinterpret_cast<HeapEntry*>(base + kHeapEntryOverhead + s);
        *rest = HeapEntry{};
        rest->size = block.size - s - kHeapEntryOverhead;
        Impl::writeTrailer(rest); // the old block's trailer word
        he->size = s;
        Impl::writeTrailer(he);
        m_impl->setEntryStart(m_impl->addressOf(rest));
        m_impl->relist(node, rest);
    } else {
        m_impl->unlinkNode(node);
    }

    he->gcCode = code;
    he->actualSize = s;
    he->isGCObject = isGCObject;
    he->marked = 0;
    he->freeHeapEntryIterator = 0;
    std::memset(Impl::bytesOf(he) + kHeapEntryHeader, 0, he->size);
    ++m_nOfEntries;
    return he;
}

uint32_t VMHeap::allocate(uint32_t size, int32_t isGCObject, int32_t code)
{
    return handleOf(createHeapEntry(size, isGCObject, code));
}

std::pair<uint32_t, uint32_t> VMHeap::createHeapEntryPair(uint32_t size1, int32_t isGCObject1,
                                                          int32_t code1, uint32_t size2,
                                                          int32_t isGCObject2, int32_t code2)
{
    const uint64_t r1 = alignedSize(size1);
    const uint64_t r2 = alignedSize(size2);
    const uint64_t total = r1 + r2 + kHeapEntryOverhead;
    if (total > Impl::kMaxPoolData) Impl::refuseHugeRequest();

    HeapEntry* first = createHeapEntry(static_cast<uint32_t>(total), isGCObject1, code1);
    HeapEntry* second =
        reinterpret_cast<HeapEntry*>(Impl::bytesOf(first) + kHeapEntryOverhead + r1);
    // The data areas are zero already; the second header lies in the first's zeroed data.
    second->actualSize = static_cast<uint32_t>(r2);
    second->size = static_cast<uint32_t>(first->size - r1 - kHeapEntryOverhead);
    second->isGCObject = isGCObject2;
    second->marked = 0;
    second->gcCode = code2;
    second->freeHeapEntryIterator = 0;
    Impl::writeTrailer(second);
    first->size = first->actualSize = static_cast<uint32_t>(r1);
    Impl::writeTrailer(first);
    m_impl->setEntryStart(m_impl->addressOf(second));
    ++m_nOfEntries;
    return {handleOf(first), handleOf(second)};
}

uint32_t VMHeap::createObject(std::unique_ptr<GCObject> object, int32_t code, uint32_t size)
{
    if (!object) throwError(kInvalidArgument);
    HeapEntry* he = createHeapEntry(std::max<uint32_t>(size, 4), -1, code);
    uint32_t index;
    try {
        index = m_objects.add(std::move(object));
    } catch (...) {
        m_impl->unlinkAndMerge(he); // word 0 is still 0: there is nothing to destroy
        throw;
    }
    std::memcpy(Impl::bytesOf(he) + kHeapEntryHeader, &index, 4);
    return handleOf(he);
}

void VMHeap::release(uint32_t handle)
{
    if (handle == 0) return;
    m_impl->requireIntact();
    // The explicit free instruction passes whatever the program holds: only a real entry's
    // handle may reach freeEntry.
    const uint64_t address = uint64_t{handle} - kHeapEntryHeader;
    // A terminator is refused by its code; one whose code was overwritten fails the size and
    // trailer checks when it is merged (release is hot: no search of the pool table here).
    if (handle < kHeapEntryHeader || !m_impl->isEntryStart(address) ||
        m_impl->entryAt(address)->gcCode == GC_CODE_TERMINATOR) {
        std::fprintf(stderr, "Warning: release of %u ignored: it is not a heap object\n", handle);
        return;
    }
    freeEntry(m_impl->entryAt(address));
}

HeapEntry* VMHeap::freeEntry(HeapEntry* he)
{
    if (!he) throwError(kNullPointer);
    m_impl->requireIntact();
    // A second release must change nothing, its release action included: check first.
    if (he->freeHeapEntryIterator != 0) {
        m_impl->checkedNode(he); // really free, not a header the program wrote over
        m_impl->warnAlreadyFree(handleOf(he));
        return he;
    }
    const uint32_t objectIndex = Impl::hostObjectIndex(he);
    HeapEntry* merged = m_impl->releaseEntry(he);
    // The destructor runs once the heap is consistent again, so that it may itself release
    // other entries (or even this one, which it now finds free).
    if (objectIndex != 0) m_objects.destroy(objectIndex);
    return merged;
}

void VMHeap::addRoot(uint32_t handle)
{
    m_impl->roots.append(entryOf(handle));
}

void VMHeap::removeRoot(uint32_t handle)
{
    auto& roots = m_impl->roots;
    const auto position = roots.find(entryOf(handle));
    if (!position) {
        std::fprintf(stderr, "Error: Removing non-existing root: %d", static_cast<int32_t>(handle));
        return;
    }
    roots.erase(position);
}

bool VMHeap::isRoot(uint32_t handle) const
{
    return m_impl->roots.contains(entryOf(handle));
}

HeapEntry* VMHeap::belongsToPools(uint64_t candidateAddress) const
{
    const auto& ranges = m_impl->poolRanges;
    if (candidateAddress > UINT32_MAX) return nullptr;
    const uint32_t a = static_cast<uint32_t>(candidateAddress);
    auto pool = std::upper_bound(ranges.begin(), ranges.end(), std::make_pair(a, UINT32_MAX));
    if (pool == ranges.begin() || a >= (--pool)->second) return nullptr;
    // The entry starting at or before a; the entries tile the pool, so it contains a. For the
    // closing terminator the pool's end stands in for the next entry.
    return m_impl->entryAt(m_impl->entryStartAtOrBefore(a, pool->first));
}

int VMHeap::getMemUsage(std::string* report)
{
    int64_t allContents = 0, memInHeHeaders = 0, freeSpaceInPools = 0, actualObjectsInMem = 0,
            wastedMemInActualObjectBlocks = 0, outsideHeap = 0, stringContents = 0,
            bitmapContents = 0, fontContents = 0;
    m_impl->requireIntact();
    for (size_t i = 0; i < m_pools.size(); ++i) {
        HeapEntry* he = m_impl->entryAt(m_pools[i]);
        const uint32_t closing = m_pools[i] + m_poolSizes[i] - kHeapEntryHeader;
        int64_t entrySizes = 0;
        for (;;) {
            allContents += he->size;
            entrySizes += he->size;
            if (he->freeHeapEntryIterator != 0) {
                freeSpaceInPools += he->size;
            } else {
                actualObjectsInMem += he->actualSize;
                wastedMemInActualObjectBlocks += int64_t{he->size} - he->actualSize;
                if (he->isGCObject == -1) {
                    if (const GCObject* object = m_objects.find(Impl::hostObjectIndex(he))) {
                        const int outside = object->memoryOutsideHeap();
                        outsideHeap += outside;
                        if (he->gcCode == GC_CODE_STRING)
                            stringContents += outside;
                        else if (he->gcCode == GC_CODE_FONT)
                            fontContents += outside;
                        else if (he->gcCode == GC_CODE_NATIVE)
                            bitmapContents += outside; // bitmaps are the large native objects
                    }
                }
            }
            if (m_impl->addressOf(he) == closing) break;
            he = m_impl->nextOf(he);
            if (m_impl->addressOf(he) > closing) [[unlikely]]
                m_impl->reportDamage("pool end", closing);
        }
        memInHeHeaders += int64_t{m_poolSizes[i]} - entrySizes;
    }
    const int64_t totalSizeOfPools = static_cast<int64_t>(m_totalSizeOfPools);
    const int64_t total =
        memInHeHeaders + actualObjectsInMem + wastedMemInActualObjectBlocks + outsideHeap;
    if (report) {
        const auto n = [](int64_t value) { return std::to_string(value); };
        *report += "\nheaders " + n(memInHeHeaders) + " + actual " + n(actualObjectsInMem) +
                   " + wasted " + n(wastedMemInActualObjectBlocks) + " + outsideHeap " +
                   n(outsideHeap) + " = total " + n(total) + "\n";
        *report += "stringContents=" + n(stringContents) + " bitmapContents=" + n(bitmapContents) +
                   " fontContents=" + n(fontContents) + "\n";
        *report += "nOfEntries=" + n(m_nOfEntries) + " nOfPools=" + n(int64_t(m_pools.size())) +
                   " SzOfPools=" + n(totalSizeOfPools) + " AllContents=" + n(allContents) +
                   " freeSpace=" + n(freeSpaceInPools) + "\n";
    }
    return static_cast<int>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

bool VMHeap::freeListContains(int list, const HeapEntry* entry) const
{
    if (list < 0 || list >= kFreeListCount) return false;
    for (const FreeBlock& block : m_impl->freeHeapEntries[list]) {
        if (block.entry == entry) return true;
    }
    return false;
}

size_t VMHeap::freeListLength(int list) const
{
    if (list < 0 || list >= kFreeListCount) return 0;
    return static_cast<size_t>(m_impl->freeHeapEntries[list].count());
}

} // namespace zelmo
