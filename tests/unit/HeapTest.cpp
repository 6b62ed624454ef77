// SPDX-License-Identifier: MIT
// The managed heap: allocation and splitting, release and merging, release actions, refused
// requests, and the heap side of the collector.
#include "ErrorCodeOf.h"
#include "HeapInvariants.h"
#include "VirtualMachine/VMHeap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelmo;
using zelmo::testing::checkHeapInvariants;
using zelmo::testing::errorCodeOf;

namespace {

// Records its own destruction; reports whatever references it is given.
class Probe : public GCObject {
public:
    Probe(std::vector<int>* log, int id, std::vector<uint32_t> refs = {}, int outside = 0)
        : m_log(log), m_id(id), m_refs(std::move(refs)), m_outside(outside)
    {
    }
    ~Probe() override { m_log->push_back(m_id); }
    void reportReferences(std::vector<uint32_t>& workList) const override
    {
        workList.insert(workList.end(), m_refs.begin(), m_refs.end());
    }
    int memoryOutsideHeap() const override { return m_outside; }

private:
    std::vector<int>* m_log;
    int m_id;
    std::vector<uint32_t> m_refs;
    int m_outside;
};

class HeapTest : public ::testing::Test {
protected:
    explicit HeapTest(uint32_t poolSize = 64000)
        : heap(memory, objects, nullptr, poolSize, {&refFields, &arrayFields, &arrayHoldsRefs})
    {
    }

    uint32_t word(uint32_t handle, uint32_t index) { return memory.load32(handle + 4 * index); }
    void setWord(uint32_t handle, uint32_t index, uint32_t value)
    {
        memory.store32(handle + 4 * index, value);
    }
    HeapEntry* entry(uint32_t handle) { return heap.entryOf(handle); }
    // True when the handle's bytes are free, whether or not they were merged into a neighbour.
    bool isFree(uint32_t handle)
    {
        const HeapEntry* around = heap.belongsToPools(handle - 24);
        return around && around->freeHeapEntryIterator != 0;
    }
    uint32_t probe(int id, std::vector<uint32_t> refs = {}, int32_t code = GC_CODE_NATIVE,
                   uint32_t size = 8)
    {
        return heap.createObject(std::make_unique<Probe>(&destroyed, id, std::move(refs)), code,
                                 size);
    }
    std::string report()
    {
        std::string text;
        heap.getMemUsage(&text);
        return text;
    }
    // A GC_CODE_VECTOR of `count` 4-byte elements with its storage, boxed in an array object.
    uint32_t makeArray(int32_t boxCode, const std::vector<uint32_t>& elements, int32_t capacity)
    {
        const auto [vector, box] =
            heap.createHeapEntryPair(VectorLayout::kBytes, 0, GC_CODE_VECTOR, 8, 0, boxCode);
        const uint32_t storage = heap.allocate(4 * uint32_t(capacity), 0, GC_CODE_NATIVE);
        setWord(vector, VectorLayout::kElementSize / 4, 4);
        setWord(vector, VectorLayout::kData / 4, storage);
        setWord(vector, VectorLayout::kCapacity / 4, uint32_t(capacity));
        setWord(vector, VectorLayout::kSize / 4, uint32_t(elements.size()));
        for (size_t i = 0; i < elements.size(); ++i)
            setWord(storage, uint32_t(i), elements[i]);
        setWord(box, 0, vector);
        return box;
    }

    std::vector<int> destroyed; // outlives the objects that log into it
    GuestMemory memory;
    ObjectTable objects;
    std::vector<std::vector<int32_t>> refFields;
    std::vector<std::vector<int32_t>> arrayFields;
    std::vector<std::vector<uint8_t>> arrayHoldsRefs;
    VMHeap heap;
};

} // namespace

TEST_F(HeapTest, AllocationAlignsZeroesAndTagsEntries)
{
    const uint32_t five = heap.allocate(5, 0, GC_CODE_NATIVE);
    EXPECT_EQ(entry(five)->actualSize, 8u);
    EXPECT_EQ(entry(five)->size, 8u);
    EXPECT_EQ(entry(five)->gcCode, GC_CODE_NATIVE);
    EXPECT_EQ(entry(five)->isGCObject, 0);

    // Zero-byte requests split from the big block: distinct, non-null, capacity 0.
    const uint32_t empty1 = heap.allocate(0, 0, GC_CODE_NATIVE);
    const uint32_t empty2 = heap.allocate(0, 0, GC_CODE_NATIVE);
    EXPECT_NE(empty1, 0u);
    EXPECT_NE(empty1, empty2);
    EXPECT_EQ(entry(empty1)->size, 0u);
    EXPECT_EQ(entry(empty2)->actualSize, 0u);
    EXPECT_EQ(heap.entryCount(), 3);

    // Released bytes merge back into the big block and come back zeroed.
    const uint32_t dirty = heap.allocate(40, 0, GC_CODE_NATIVE);
    for (uint32_t i = 0; i < 10; ++i)
        setWord(dirty, i, 0xdeadbeef);
    heap.release(dirty);
    const uint32_t again = heap.allocate(40, 0, GC_CODE_STRING);
    EXPECT_EQ(again, dirty);
    for (uint32_t i = 0; i < 10; ++i)
        EXPECT_EQ(word(again, i), 0u) << i;
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, HugeRequestsAreAnOrderlyFatalErrorAndChangeNothing)
{
    const std::string before = report();
    for (uint32_t size : {0xffffffffu, 0xfffffffcu, 0x80000001u}) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(errorCodeOf([&] { heap.allocate(size, 0, GC_CODE_NATIVE); }), kFatal) << size;
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("FATAL: Out of memory"),
                  std::string::npos);
    }
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(heap.createHeapEntryPair(0x7ffffff0u, 0, GC_CODE_VECTOR, 0x7ffffff0u, 0,
                                          GC_CODE_OBJECT_ARRAY),
                 ErrorHandlingException);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(report(), before);
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, AdjacentReleasesMergeInEitherOrder)
{
    // Entries too large for the quick lists merge as they are released.
    for (bool firstThenSecond : {true, false}) {
        const uint32_t a = heap.allocate(260, 0, GC_CODE_NATIVE);
        const uint32_t b = heap.allocate(300, 0, GC_CODE_NATIVE);
        const uint32_t guard = heap.allocate(400, 0, GC_CODE_NATIVE);
        heap.release(firstThenSecond ? a : b);
        heap.release(firstThenSecond ? b : a);
        HeapEntry* merged = entry(a);
        EXPECT_NE(merged->freeHeapEntryIterator, 0u);
        EXPECT_EQ(merged->size, 260u + 300u + 28u);
        EXPECT_EQ(heap.belongsToPools(b - 24), merged); // b's header is now inside a's data
        EXPECT_EQ(checkHeapInvariants(heap), "");
        // Releasing the guard joins everything with the rest of the pool again.
        heap.release(guard);
        EXPECT_EQ(heap.freeListLength(16), 1u);
        EXPECT_NE(report().find("freeSpace=64000"), std::string::npos);
        EXPECT_EQ(checkHeapInvariants(heap), "");
    }

    // Small entries wait unmerged in the quick list of their size, come back in the order they
    // were released, and a merging neighbour takes a row of them along.
    const uint32_t small1 = heap.allocate(20, 0, GC_CODE_NATIVE);
    const uint32_t small2 = heap.allocate(20, 0, GC_CODE_NATIVE);
    const uint32_t big = heap.allocate(300, 0, GC_CODE_NATIVE);
    const uint32_t guard = heap.allocate(400, 0, GC_CODE_NATIVE);
    heap.release(small1);
    heap.release(small2);
    EXPECT_EQ(heap.freeListLength(quickList(20)), 2u);
    EXPECT_EQ(checkHeapInvariants(heap), "");
    EXPECT_EQ(heap.allocate(17, 0, GC_CODE_STRING), small1);
    heap.release(small1);
    heap.release(big);
    EXPECT_EQ(entry(small1)->size, 20u + 20u + 300u + 2 * 28u);
    EXPECT_EQ(heap.freeListLength(quickList(20)), 0u);
    heap.release(guard);
    EXPECT_NE(report().find("freeSpace=64000"), std::string::npos);
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ReleaseActionsRunExactlyOnce)
{
    // A GCObject entry: its host object dies with the entry, once.
    const uint32_t a = probe(1);
    EXPECT_EQ(word(a, 0), 1u); // the first table index
    EXPECT_EQ(&heap.objectAt<Probe>(a), objects.find(1));
    heap.release(a);
    EXPECT_EQ(destroyed, std::vector<int>{1});
    EXPECT_EQ(objects.liveCount(), 0u);

    // A stream holder: word 0 is a type id, word 1 the stream's table index.
    const uint32_t keep = probe(2);
    const uint32_t stream = objects.add(std::make_unique<Probe>(&destroyed, 3));
    const uint32_t holder = heap.allocate(8, 0, GC_CODE_STREAM_HOLDER);
    setWord(holder, 0, word(keep, 0)); // a type id that happens to equal a live index
    setWord(holder, 1, stream);
    heap.release(holder);
    EXPECT_EQ(destroyed, (std::vector<int>{1, 3}));
    EXPECT_NE(objects.find(word(keep, 0)), nullptr);

    // The sweep runs them too, once per entry.
    heap.sweep();
    EXPECT_EQ(destroyed, (std::vector<int>{1, 3, 2}));
    heap.sweep();
    EXPECT_EQ(destroyed.size(), 3u);
    EXPECT_EQ(heap.entryCount(), 0);
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ReleasingAFreeEntryChangesNothing)
{
    // Large enough to merge when released.
    const uint32_t before = probe(1, {}, GC_CODE_NATIVE, 300);
    const uint32_t a = probe(2, {}, GC_CODE_NATIVE, 300);
    const uint32_t guard = heap.allocate(4, 0, GC_CODE_NATIVE);
    heap.release(a);
    // The freed table slot is handed to a new object; a second release of `a` must not reach it.
    const uint32_t reused = objects.add(std::make_unique<Probe>(&destroyed, 3));
    EXPECT_EQ(reused, 2u);
    const std::string state = report();
    const size_t listLength = heap.freeListLength(sizeClass(300));

    ::testing::internal::CaptureStderr();
    heap.release(a);
    EXPECT_EQ(heap.freeEntry(entry(a)), entry(a));
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("already free"), std::string::npos) << warnings;
    EXPECT_EQ(destroyed, std::vector<int>{2});
    EXPECT_NE(objects.find(reused), nullptr);
    EXPECT_EQ(report(), state);
    EXPECT_EQ(heap.freeListLength(sizeClass(300)), listLength);

    // Once merged into its free predecessor the handle names no entry at all.
    heap.release(before);
    ::testing::internal::CaptureStderr();
    heap.release(a);
    heap.release(guard + 4);              // inside an object
    heap.release(heap.poolStart(0) + 24); // the first terminator
    heap.release(16);                     // far below every pool
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("already free"), std::string::npos);
    EXPECT_EQ(destroyed, (std::vector<int>{2, 1}));
    EXPECT_EQ(heap.entryCount(), 1);
    EXPECT_EQ(checkHeapInvariants(heap), "");
    heap.release(0); // null is ignored silently
    objects.destroy(reused);
}

// ---- collector ----

TEST_F(HeapTest, CyclesWithoutRootsAreCollected)
{
    // Class 0: word 0 class id, word 1 a reference field.
    refFields = {{1}};
    arrayFields = {{}};
    arrayHoldsRefs = {{}};
    const uint32_t a = heap.allocate(8, 0, GC_CODE_CLASS_OBJECT);
    const uint32_t b = heap.allocate(8, 0, GC_CODE_CLASS_OBJECT);
    setWord(a, 1, b);
    setWord(b, 1, a);
    heap.release(heap.allocate(8, 0, GC_CODE_NATIVE)); // a free entry between garbage
    const uint32_t c = heap.allocate(8, 0, GC_CODE_CLASS_OBJECT);
    setWord(c, 1, a);
    heap.addRoot(c);
    heap.collect();
    EXPECT_EQ(heap.entryCount(), 3);
    EXPECT_EQ(checkHeapInvariants(heap), "");
    // Garbage, a free entry, garbage and the pool's free rest become one free entry again.
    heap.removeRoot(c);
    heap.collect();
    EXPECT_EQ(heap.entryCount(), 0);
    EXPECT_NE(report().find("freeSpace=64000"), std::string::npos);
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ArraysMarkVectorStorageAndReferenceElements)
{
    const uint32_t element = heap.allocate(4, 0, GC_CODE_NATIVE);
    const uint32_t refArray = makeArray(GC_CODE_OBJECT_ARRAY, {element, 0}, 4);
    const uint32_t numbers = makeArray(GC_CODE_PRIMITIVE_ARRAY, {element + 4}, 1);
    const uint32_t empty = makeArray(GC_CODE_OBJECT_ARRAY, {}, 3);
    const uint32_t emptyStorage = word(word(empty, 0), VectorLayout::kData / 4);
    for (uint32_t box : {refArray, numbers, empty})
        heap.addRoot(box);
    heap.collect();
    // 3 boxes, 3 vectors, 2 storages and the element; the empty array's storage is gone.
    EXPECT_EQ(heap.entryCount(), 9);
    EXPECT_TRUE(isFree(emptyStorage));
    EXPECT_FALSE(isFree(word(empty, 0)));

    // A primitive array's elements are numbers, even when they look like handles.
    heap.removeRoot(refArray);
    heap.collect();
    EXPECT_TRUE(isFree(element));
    EXPECT_EQ(heap.entryCount(), 5);

    // A count word larger than the storage is clipped to what the storage holds.
    const uint32_t element2 = heap.allocate(4, 0, GC_CODE_NATIVE);
    const uint32_t liar = makeArray(GC_CODE_OBJECT_ARRAY, {element2}, 1);
    setWord(word(liar, 0), VectorLayout::kSize / 4, 0x7fffffff);
    heap.addRoot(liar);
    heap.collect();
    EXPECT_FALSE(isFree(element2));
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ClassObjectsTraceTheirFieldTables)
{
    // Class 0: reference field 1, array fields 2 (references) and 4 (numbers).
    // Class 1: field indexes outside the object are ignored.
    refFields = {{1}, {1, 50, -3}};
    arrayFields = {{2, 4}, {60}};
    arrayHoldsRefs = {{255, 0}, {255}};
    const uint32_t target = heap.allocate(4, 0, GC_CODE_NATIVE);
    const uint32_t element = heap.allocate(4, 0, GC_CODE_NATIVE);
    const uint32_t refs = makeArray(GC_CODE_OBJECT_ARRAY, {element}, 1);
    const uint32_t numbers = makeArray(GC_CODE_PRIMITIVE_ARRAY, {target}, 1);
    const uint32_t object = heap.allocate(24, 0, GC_CODE_CLASS_OBJECT);
    setWord(object, 1, target);
    setWord(object, 2, word(refs, 0)); // array values held inline: vector handle + second word
    setWord(object, 4, word(numbers, 0));
    heap.release(refs);
    heap.release(numbers);

    const uint32_t odd = heap.allocate(8, 0, GC_CODE_CLASS_OBJECT);
    setWord(odd, 0, 1);
    setWord(odd, 1, target);
    const uint32_t unknown = heap.allocate(8, 0, GC_CODE_CLASS_OBJECT);
    setWord(unknown, 0, 7); // no such class: traces nothing
    setWord(unknown, 1, element);

    heap.addRoot(object);
    heap.addRoot(odd);
    heap.addRoot(unknown);
    heap.collect();
    // object, odd, unknown, target, element, 2 vectors, 2 storages.
    EXPECT_EQ(heap.entryCount(), 9);
    heap.removeRoot(object);
    heap.collect();
    EXPECT_EQ(heap.entryCount(), 3); // odd keeps target; unknown keeps nothing
    EXPECT_TRUE(isFree(element));
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ConservativeWordsMarkTheEntryAroundThem)
{
    const uint32_t a = heap.allocate(16, 0, GC_CODE_NATIVE);
    const uint32_t b = heap.allocate(16, 0, GC_CODE_NATIVE);
    const uint32_t c = heap.allocate(16, 0, GC_CODE_NATIVE);
    heap.markIfInHeap(a + 9);      // inside a's data
    heap.markIfInHeap(b + 16 + 2); // inside b's trailer
    heap.markIfInHeap(7);          // small numbers are never objects
    heap.markIfInHeap(0xfffffff0u);
    EXPECT_EQ(entry(a)->marked, 1u);
    EXPECT_EQ(entry(b)->marked, 1u);
    EXPECT_EQ(entry(c)->marked, 0u);
    heap.collect();
    EXPECT_EQ(heap.entryCount(), 2);
    EXPECT_TRUE(isFree(c));

    // A word that lands in a free entry or a terminator is a VMException; marks are cleared.
    for (uint32_t bad : {c + 4, heap.poolStart(0) + 30}) {
        heap.markIfInHeap(a);
        ASSERT_EQ(entry(a)->marked, 1u);
        EXPECT_EQ(errorCodeOf([&] { heap.markIfInHeap(bad); }), kVMException);
        EXPECT_EQ(entry(a)->marked, 0u);
    }
    EXPECT_EQ(checkHeapInvariants(heap), "");
}

TEST_F(HeapTest, ForgedReferencesAreRefusedNotFollowed)
{
    const uint32_t a = heap.allocate(16, 0, GC_CODE_NATIVE);
    const uint32_t box = heap.allocate(4, 0, GC_CODE_REFERENCE);
    heap.addRoot(box);
    for (uint32_t forged : {a + 4, 0x12345678u, 3u, heap.poolStart(0) + 24}) {
        setWord(box, 0, forged);
        EXPECT_EQ(errorCodeOf([&] { heap.collect(); }), kVMException) << forged;
        EXPECT_EQ(checkHeapInvariants(heap), "");
    }
    // An array value address outside guest memory is the memory error, not a host read.
    EXPECT_EQ(errorCodeOf([&] { heap.markArrayValue(0xfffffff0u, true); }), kFatal);
}
