// SPDX-License-Identifier: MIT
// The heap side of the mark-and-sweep collector: marking from roots and from the words the
// machine's stack scan hands over, with an explicit work stack so that object graphs of any
// depth are safe, and the sweep that releases every unmarked entry in address order.
#include "VirtualMachine/VMHeap.h"

#include "Base/Errors.h"
#include "VirtualMachine/VMHeapPrivate.h"

#include <algorithm>

namespace zelmo {

HeapEntry* VMHeap::Impl::requireMarkable(uint32_t handle)
{
    const uint64_t address = uint64_t{handle} - kHeapEntryHeader;
    // A word that names no entry at all (a forged field, a stale handle into merged space) is
    // refused like a free one instead of being read as a header.
    if (handle < kHeapEntryHeader || !isEntryStart(address)) [[unlikely]]
        throwError(kVMException, "Invalid heap reference");
    HeapEntry* entry = entryAt(address);
    if (entry->gcCode == GC_CODE_FREE || entry->gcCode == GC_CODE_TERMINATOR ||
        entry->freeHeapEntryIterator != 0) [[unlikely]]
        throwError(kVMException);
    checkedSize(entry); // its words are read up to the size
    return entry;
}

void VMHeap::Impl::drain()
{
    // gcWorkList is the marking stack: references found while marking are pushed on it, the
    // GCObjects' reported references included, and taken from the top until it is empty.
    while (!gcWorkList.empty()) {
        const uint32_t handle = gcWorkList.back();
        gcWorkList.pop_back();
        if (handle == 0) continue;
        HeapEntry* entry = requireMarkable(handle);
        if (entry->marked) continue;
        entry->marked = 1;

        if (entry->isGCObject == -1) {
            if (const GCObject* object = heap.m_objects.find(hostObjectIndex(entry)))
                object->reportReferences(gcWorkList);
        }
        const uint32_t words = entry->size / 4;
        switch (entry->gcCode) {
        case GC_CODE_CLASS_OBJECT:
            traceClassObject(entry);
            break;
        case GC_CODE_PRIMITIVE_ARRAY:
        case GC_CODE_OBJECT_ARRAY:
            if (words >= 1) traceArrayValue(word(entry, 0), entry->gcCode == GC_CODE_OBJECT_ARRAY);
            break;
        case GC_CODE_REFERENCE:
            if (words >= 1) gcWorkList.push_back(word(entry, 0));
            break;
        case GC_CODE_PAIR: {
            const uint32_t tag = words >= 1 ? word(entry, 0) : 0;
            if (tag != 1 && tag != 2) throwError(kVMException);
            if (words >= 2) gcWorkList.push_back(word(entry, 1));
            if (tag == 2 && words >= 3) gcWorkList.push_back(word(entry, 2));
            break;
        }
        default:
            break;
        }
    }
}

void VMHeap::Impl::traceClassObject(const HeapEntry* entry)
{
    const uint32_t words = entry->size / 4;
    if (words == 0) return;
    const uint32_t classId = word(entry, 0);
    const ClassFieldTables& tables = heap.m_tables;
    // Field indexes come from the image: any that fall outside the object are skipped.
    if (tables.refFields && classId < tables.refFields->size()) {
        for (int32_t field : (*tables.refFields)[classId]) {
            if (field >= 0 && uint32_t(field) < words)
                gcWorkList.push_back(word(entry, uint32_t(field)));
        }
    }
    if (tables.arrayFields && classId < tables.arrayFields->size()) {
        const std::vector<int32_t>& fields = (*tables.arrayFields)[classId];
        const std::vector<uint8_t>* flags =
            tables.arrayHoldsRefs && classId < tables.arrayHoldsRefs->size()
                ? &(*tables.arrayHoldsRefs)[classId]
                : nullptr;
        for (size_t i = 0; i < fields.size(); ++i) {
            const int32_t field = fields[i];
            if (field < 0 || uint32_t(field) >= words) continue;
            const bool references = flags && i < flags->size() && (*flags)[i] != 0;
            traceArrayValue(word(entry, uint32_t(field)), references);
        }
    }
}

void VMHeap::Impl::traceArrayValue(uint32_t vectorHandle, bool elementsAreReferences)
{
    if (vectorHandle == 0) return;
    gcWorkList.push_back(vectorHandle);
    // The storage is reached through the vector whether or not the vector was marked before:
    // a vector may be marked by a plain reference that does not trace its elements.
    const HeapEntry* vector = requireMarkable(vectorHandle);
    if (vector->size < VectorLayout::kBytes) return;
    const int32_t count = static_cast<int32_t>(word(vector, VectorLayout::kSize / 4));
    if (count <= 0) return;
    const uint32_t storageHandle = word(vector, VectorLayout::kData / 4);
    if (storageHandle == 0) return;
    gcWorkList.push_back(storageHandle);
    if (!elementsAreReferences) return;
    // Never read past the storage entry, whatever the count word claims.
    const HeapEntry* storage = requireMarkable(storageHandle);
    const uint32_t elements = std::min<uint32_t>(uint32_t(count), storage->size / 4);
    for (uint32_t i = 0; i < elements; ++i) {
        if (const uint32_t element = word(storage, i)) gcWorkList.push_back(element);
    }
}

void VMHeap::Impl::abandonMarking()
{
    gcWorkList.clear();
    if (corrupted) return; // nothing will read the marks again
    for (size_t i = 0; i < heap.m_pools.size(); ++i) {
        const uint32_t closing = heap.m_pools[i] + heap.m_poolSizes[i] - kHeapEntryHeader;
        for (HeapEntry* he = entryAt(heap.m_pools[i]);; he = nextOf(he)) {
            he->marked = 0;
            if (addressOf(he) >= closing) break;
        }
    }
}

void VMHeap::collect()
{
    m_impl->requireIntact();
    m_impl->gcWorkList.clear();
    try {
        for (HeapEntry* root : m_impl->roots) {
            m_impl->gcWorkList.push_back(handleOf(root));
            m_impl->drain();
        }
    } catch (...) {
        m_impl->abandonMarking();
        throw;
    }
    sweep();
}

void VMHeap::mark(uint32_t handle)
{
    if (handle == 0) return;
    m_impl->requireIntact();
    try {
        m_impl->gcWorkList.push_back(handle);
        m_impl->drain();
    } catch (...) {
        m_impl->abandonMarking();
        throw;
    }
}

void VMHeap::markArrayValue(uint32_t arrayValueAddress, bool elementsAreReferences)
{
    m_impl->requireIntact();
    try {
        m_impl->traceArrayValue(m_memory.load32(arrayValueAddress), elementsAreReferences);
        m_impl->drain();
    } catch (...) {
        m_impl->abandonMarking();
        throw;
    }
}

void VMHeap::markIfInHeap(uint32_t word)
{
    if (word < kHeapEntryHeader) return;
    if (HeapEntry* entry = belongsToPools(uint64_t{word} - kHeapEntryHeader)) mark(handleOf(entry));
}

// A stale number that happens to fall into a free block or a pool boundary proves nothing, so it
// is ignored rather than treated as a broken heap. A vector reached this way is an array value
// that no class or frame describes (a global holding an array header): its storage must live as
// long as it does. Its elements are not read: nothing says whether they are references, and
// reading a large number array word by word at every collection would cost more than the rest
// of the collection together.
void VMHeap::markConservatively(uint32_t word)
{
    if (word < kHeapEntryHeader) return;
    const HeapEntry* entry = belongsToPools(uint64_t{word} - kHeapEntryHeader);
    if (!entry || entry->freeHeapEntryIterator != 0 || entry->gcCode == GC_CODE_TERMINATOR ||
        entry->gcCode == GC_CODE_FREE)
        return;
    if (!entry->marked) mark(handleOf(entry));
    if (entry->gcCode != GC_CODE_VECTOR || entry->size < VectorLayout::kBytes) return;
    const int32_t count = static_cast<int32_t>(Impl::word(entry, VectorLayout::kSize / 4));
    const uint32_t storageHandle = Impl::word(entry, VectorLayout::kData / 4);
    if (count <= 0 || storageHandle < kHeapEntryHeader ||
        !m_impl->isEntryStart(uint64_t{storageHandle} - kHeapEntryHeader))
        return;
    const HeapEntry* storage = m_impl->entryAt(uint64_t{storageHandle} - kHeapEntryHeader);
    if (!storage->marked && storage->freeHeapEntryIterator == 0 &&
        storage->gcCode == GC_CODE_NATIVE)
        mark(storageHandle);
}

void VMHeap::sweep()
{
    std::vector<uint32_t>& dying = m_impl->dyingObjects;
    dying.clear();
    m_impl->requireIntact();
    Impl& impl = *m_impl;
    for (size_t i = 0; i < m_pools.size(); ++i) {
        const uint32_t closing = m_pools[i] + m_poolSizes[i] - kHeapEntryHeader;
        // A run is a stretch of free and unreachable entries. It becomes one free entry when a
        // live entry or the pool's end closes it, keeping the list node of its first free
        // entry: a long stretch of garbage costs one list update, not one per entry.
        HeapEntry* run = nullptr;
        ListEntry<FreeBlock>* runNode = nullptr;
        HeapEntry* next = nullptr;
        // Every step moves forward by at least one entry frame, so the walk ends.
        for (HeapEntry* he = impl.nextOf(impl.entryAt(m_pools[i]));; he = next) {
            const uint32_t address = impl.addressOf(he);
            if (address >= closing) {
                if (address > closing) [[unlikely]]
                    impl.reportDamage("pool end", closing);
                if (run) impl.closeRun(run, address, runNode);
                break;
            }
            // A free entry's list record first: the list's size is the one a merge trusts.
            ListEntry<FreeBlock>* listed =
                he->freeHeapEntryIterator != 0 ? impl.checkedNode(he) : nullptr;
            next = impl.nextOf(he); // checks this entry's size and trailer
            if (!listed && he->marked != 0) {
                he->marked = 0;
                if (run) impl.closeRun(run, address, runNode);
                run = nullptr;
                runNode = nullptr;
                continue;
            }
            if (!run) {
                impl.nodePool.reserve(1); // for closing the run: no failure half-way
                run = he;
            } else {
                impl.clearEntryStart(address);
            }
            if (listed) {
                if (runNode)
                    impl.unlinkNode(listed);
                else
                    runNode = listed;
                he->freeHeapEntryIterator = 0;
            } else {
                if (const uint32_t index = Impl::hostObjectIndex(he)) dying.push_back(index);
                --m_nOfEntries;
            }
        }
    }
    // Release actions run in address order, after the walk: a destructor that touches the
    // heap cannot pull an entry from under the sweep.
    std::vector<uint32_t> batch;
    batch.swap(dying);
    for (uint32_t index : batch)
        m_objects.destroy(index);
    batch.clear();
    if (m_impl->dyingObjects.empty())
        m_impl->dyingObjects.swap(batch); // keep the buffer for the next sweep
}

} // namespace zelmo
