// SPDX-License-Identifier: MIT
// Long randomised runs against the managed heap with fixed seeds: a million mixed allocations,
// pair allocations and releases checked by a full pool walk, and random object graphs whose
// collection must free exactly what a reference model finds unreachable.
#include "Base/Errors.h"
#include "HeapInvariants.h"
#include "VirtualMachine/VMHeap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unordered_map>
#include <unordered_set>

using namespace zelmo;
using zelmo::testing::checkHeapInvariants;

namespace {

uint32_t aligned(uint32_t size)
{
    return (size + 3) & ~3u;
}

// Mostly small objects, some medium, a few large, and now and then one above the pool size.
uint32_t pickSize(std::mt19937& rng)
{
    const uint32_t r = rng() % 1000;
    if (r < 40) return rng() % 8;
    if (r < 640) return 8 + rng() % 57;
    if (r < 920) return 65 + rng() % 448;
    if (r < 998) return 513 + rng() % 8192;
    return 20000 + rng() % 90000;
}

struct Block {
    uint32_t handle;
    uint32_t size;
};

// Zero on arrival: the first and last words and a short prefix.
bool arrivesZeroed(GuestMemory& memory, const Block& b)
{
    const uint32_t words = aligned(b.size) / 4;
    for (uint32_t i = 0; i < std::min(words, 16u); ++i) {
        if (memory.load32(b.handle + 4 * i) != 0) return false;
    }
    return words == 0 || memory.load32(b.handle + 4 * (words - 1)) == 0;
}

void stamp(GuestMemory& memory, const Block& b)
{
    const uint32_t words = aligned(b.size) / 4;
    if (words == 0) return;
    memory.store32(b.handle, b.handle ^ 0x5a5a5a5a);
    memory.store32(b.handle + 4 * (words - 1), ~b.handle);
}

bool stampIntact(GuestMemory& memory, const Block& b)
{
    const uint32_t words = aligned(b.size) / 4;
    if (words == 0) return true;
    if (words == 1) return memory.load32(b.handle) == ~b.handle;
    return memory.load32(b.handle) == (b.handle ^ 0x5a5a5a5a) &&
           memory.load32(b.handle + 4 * (words - 1)) == ~b.handle;
}

} // namespace

TEST(HeapStress, AMillionMixedOperationsKeepEveryInvariant)
{
    GuestMemory memory;
    ObjectTable objects;
    VMHeap heap(memory, objects, nullptr, 64000, {});
    std::mt19937 rng(20240611);
    std::vector<Block> live;
    const int32_t codes[] = {GC_CODE_NATIVE, GC_CODE_STRING,       GC_CODE_REFERENCE,
                             GC_CODE_PAIR,   GC_CODE_CLASS_OBJECT, GC_CODE_HASH};
    constexpr int kOperations = 1000000;

    for (int op = 1; op <= kOperations; ++op) {
        // The live set swings between small and large so that pools fill, drain and merge.
        const size_t target = (op / 100000) % 2 ? 6000 : 500;
        const bool grow = live.size() < target ? rng() % 4 != 0 : rng() % 4 == 0;
        if (grow || live.empty()) {
            const int32_t code = codes[rng() % std::size(codes)];
            if (rng() % 6 == 0) {
                const Block first{0, uint32_t(rng() % 24)};
                const Block second{0, pickSize(rng)};
                const auto [h1, h2] =
                    heap.createHeapEntryPair(first.size, 0, code, second.size, 0, GC_CODE_NATIVE);
                ASSERT_EQ(h2, h1 + aligned(first.size) + kHeapEntryOverhead);
                for (const Block& b : {Block{h1, first.size}, Block{h2, second.size}}) {
                    ASSERT_TRUE(arrivesZeroed(memory, b)) << op;
                    ASSERT_EQ(heap.entryOf(b.handle)->actualSize, aligned(b.size));
                    stamp(memory, b);
                    live.push_back(b);
                }
            } else {
                const Block b{heap.allocate(pickSize(rng), 0, code), 0};
                Block block{b.handle, heap.entryOf(b.handle)->actualSize};
                ASSERT_EQ(heap.entryOf(block.handle)->gcCode, code);
                ASSERT_TRUE(arrivesZeroed(memory, block)) << op;
                stamp(memory, block);
                live.push_back(block);
            }
        } else {
            const size_t i = rng() % live.size();
            const Block b = live[i];
            ASSERT_TRUE(stampIntact(memory, b)) << "object overwritten by a neighbour, op " << op;
            if (rng() % 2)
                heap.release(b.handle);
            else
                heap.freeEntry(heap.entryOf(b.handle));
            live[i] = live.back();
            live.pop_back();
        }
        if (op % 250000 == 0) {
            ASSERT_EQ(checkHeapInvariants(heap), "") << "after operation " << op;
        }
    }
    ASSERT_EQ(heap.entryCount(), int32_t(live.size()));

    // Releasing everything leaves each pool as one free block again.
    for (const Block& b : live) {
        ASSERT_TRUE(stampIntact(memory, b));
        heap.release(b.handle);
    }
    ASSERT_EQ(checkHeapInvariants(heap), "");
    uint64_t freeBlocks = 0;
    for (int k = 0; k < 32; ++k)
        freeBlocks += heap.freeListLength(k);
    EXPECT_EQ(freeBlocks, heap.poolCount());
    for (size_t i = 0; i < heap.poolCount(); ++i)
        EXPECT_EQ(heap.entryOf(heap.poolStart(i) + 52)->size, heap.poolSize(i) - 80);
}

namespace {

// Destruction counter for the graph test's native objects.
class Node : public GCObject {
public:
    Node(std::unordered_map<uint32_t, int>* deaths, std::vector<uint32_t> refs)
        : m_deaths(deaths), m_refs(std::move(refs))
    {
    }
    ~Node() override { ++(*m_deaths)[m_id]; }
    void reportReferences(std::vector<uint32_t>& workList) const override
    {
        workList.insert(workList.end(), m_refs.begin(), m_refs.end());
    }
    uint32_t m_id = 0;

private:
    std::unordered_map<uint32_t, int>* m_deaths;
    std::vector<uint32_t> m_refs;
};

// Builds random object graphs in the heap and the same graph as a plain successor map.
class GraphBuilder {
public:
    GraphBuilder(VMHeap& heap, std::mt19937& rng, std::unordered_map<uint32_t, int>* deaths)
        : m_heap(heap), m_memory(heap.memory()), m_rng(rng), m_deaths(deaths)
    {
    }

    uint32_t pick() { return m_nodes.empty() ? 0 : m_nodes[m_rng() % m_nodes.size()]; }
    // A target: usually a node, sometimes null.
    uint32_t target() { return m_rng() % 8 == 0 ? 0 : pick(); }

    void link(uint32_t from, uint32_t to)
    {
        if (to != 0) m_edges[from].push_back(to);
    }

    void addNode()
    {
        uint32_t h = 0;
        switch (m_rng() % 6) {
        case 0: { // a one-word box
            h = m_heap.allocate(4, 0, GC_CODE_REFERENCE);
            const uint32_t t = target();
            m_memory.store32(h, t);
            link(h, t);
            m_boxes.push_back(h);
            break;
        }
        case 1: { // a pair, tag 1 or 2
            h = m_heap.allocate(12, 0, GC_CODE_PAIR);
            const uint32_t tag = 1 + m_rng() % 2, a = target(), b = target();
            m_memory.store32(h, tag);
            m_memory.store32(h + 4, a);
            m_memory.store32(h + 8, b);
            link(h, a);
            if (tag == 2) link(h, b);
            break;
        }
        case 2:
        case 3: { // a class object of class 0 (array of references) or 1 (array of numbers)
            const uint32_t classId = m_rng() % 2;
            h = m_heap.allocate(24, 0, GC_CODE_CLASS_OBJECT);
            m_memory.store32(h, classId);
            for (uint32_t field = 1; field <= (classId == 0 ? 3u : 1u); ++field) {
                const uint32_t t = target();
                m_memory.store32(h + 4 * field, t);
                link(h, t);
            }
            const uint32_t arrayField = classId == 0 ? 4 : 2;
            const uint32_t vector = makeVector(h, classId == 0);
            m_memory.store32(h + 4 * arrayField, vector);
            break;
        }
        case 4: { // a native object that reports references
            std::vector<uint32_t> refs = {target(), target()};
            auto node = std::make_unique<Node>(m_deaths, refs);
            Node* raw = node.get();
            h = m_heap.createObject(std::move(node), GC_CODE_NATIVE);
            raw->m_id = h;
            for (uint32_t t : refs)
                link(h, t);
            break;
        }
        default: // a leaf
            h = m_heap.allocate(m_rng() % 40, 0, GC_CODE_STRING);
            break;
        }
        m_edges.try_emplace(h);
        m_nodes.push_back(h);
    }

    // Points an existing box somewhere new, so old objects reach new ones.
    void rewireBox()
    {
        if (m_boxes.empty()) return;
        const uint32_t box = m_boxes[m_rng() % m_boxes.size()];
        const uint32_t t = target();
        m_memory.store32(box, t);
        m_edges[box].clear();
        link(box, t);
    }

    std::unordered_set<uint32_t> reachableFrom(const std::vector<uint32_t>& roots) const
    {
        std::unordered_set<uint32_t> seen(roots.begin(), roots.end());
        std::vector<uint32_t> work(roots.begin(), roots.end());
        while (!work.empty()) {
            const uint32_t h = work.back();
            work.pop_back();
            for (uint32_t next : m_edges.at(h)) {
                if (seen.insert(next).second) work.push_back(next);
            }
        }
        return seen;
    }

    // Forgets every node outside `alive` (they were collected).
    void keepOnly(const std::unordered_set<uint32_t>& alive)
    {
        std::erase_if(m_edges, [&](const auto& item) { return !alive.count(item.first); });
        std::erase_if(m_nodes, [&](uint32_t h) { return !alive.count(h); });
        std::erase_if(m_boxes, [&](uint32_t h) { return !alive.count(h); });
    }

    const std::vector<uint32_t>& nodes() const { return m_nodes; }

private:
    // A vector with its storage, held as an array value by `owner`. The collector follows the
    // vector, its storage and its elements only through the array value, so in the model those
    // edges belong to the owner; the vector and the storage have none of their own.
    uint32_t makeVector(uint32_t owner, bool references)
    {
        const uint32_t count = m_rng() % 4; // 0 leaves the storage unmarked
        const uint32_t vector = m_heap.allocate(VectorLayout::kBytes, 0, GC_CODE_VECTOR);
        const uint32_t storage = m_heap.allocate(4 * 3, 0, GC_CODE_NATIVE);
        m_memory.store32(vector + VectorLayout::kElementSize, 4);
        m_memory.store32(vector + VectorLayout::kData, storage);
        m_memory.store32(vector + VectorLayout::kCapacity, 3);
        m_memory.store32(vector + VectorLayout::kSize, count);
        m_edges.try_emplace(vector);
        m_edges.try_emplace(storage);
        link(owner, vector);
        if (count > 0) link(owner, storage);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t t = references ? target() : m_rng();
            m_memory.store32(storage + 4 * i, t);
            if (references) link(owner, t);
        }
        m_nodes.push_back(vector);
        m_nodes.push_back(storage);
        return vector;
    }

    VMHeap& m_heap;
    GuestMemory& m_memory;
    std::mt19937& m_rng;
    std::unordered_map<uint32_t, int>* m_deaths;
    std::vector<uint32_t> m_nodes;
    std::vector<uint32_t> m_boxes;
    std::unordered_map<uint32_t, std::vector<uint32_t>> m_edges;
};

} // namespace

TEST(HeapStress, CollectionsFreeExactlyTheUnreachable)
{
    std::unordered_map<uint32_t, int> deaths; // handle -> destructor runs; outlives the objects
    GuestMemory memory;
    ObjectTable objects;
    // Class 0: reference fields 1-3 and an array of references at 4; class 1: field 1 and an
    // array of numbers at 2.
    const std::vector<std::vector<int32_t>> refFields = {{1, 2, 3}, {1}};
    const std::vector<std::vector<int32_t>> arrayFields = {{4}, {2}};
    const std::vector<std::vector<uint8_t>> arrayHoldsRefs = {{255}, {0}};
    std::mt19937 rng(7);
    VMHeap heap(memory, objects, nullptr, 64000, {&refFields, &arrayFields, &arrayHoldsRefs});
    GraphBuilder graph(heap, rng, &deaths);
    std::vector<uint32_t> roots;
    for (int round = 0; round < 8; ++round) {
        for (int i = 0; i < 6000; ++i)
            graph.addNode();
        for (int i = 0; i < 2000; ++i)
            graph.rewireBox();
        // Keep a few old roots, add a few new ones (a node may be a root twice).
        std::erase_if(roots, [&](uint32_t) { return rng() % 3 == 0; });
        for (uint32_t h : roots)
            heap.addRoot(h);
        for (int i = 0; i < 20; ++i) {
            roots.push_back(graph.pick());
            heap.addRoot(roots.back());
        }

        const auto alive = graph.reachableFrom(roots);
        std::vector<uint32_t> natives;
        for (uint32_t h : graph.nodes()) {
            if (heap.entryOf(h)->isGCObject == -1) natives.push_back(h);
        }
        heap.collect();
        ASSERT_EQ(heap.entryCount(), int32_t(alive.size())) << "round " << round;
        for (uint32_t h : alive)
            ASSERT_EQ(heap.entryOf(h)->freeHeapEntryIterator, 0u) << h;
        for (uint32_t h : natives)
            ASSERT_EQ(deaths.count(h), alive.count(h) ? 0u : 1u) << h;
        for (auto& [h, n] : deaths)
            ASSERT_EQ(n, 1) << "destructor of " << h << " ran " << n << " times";
        deaths.clear();
        graph.keepOnly(alive);
        ASSERT_EQ(checkHeapInvariants(heap), "") << "round " << round;
        for (uint32_t h : roots)
            heap.removeRoot(h);
    }
    // What the machine does before it destroys its heap: sweep with nothing marked.
    const size_t nativesLeft = objects.liveCount();
    EXPECT_GT(nativesLeft, 0u);
    heap.sweep();
    EXPECT_EQ(heap.entryCount(), 0);
    EXPECT_EQ(objects.liveCount(), 0u);
    EXPECT_EQ(deaths.size(), nativesLeft);
    for (auto& [h, n] : deaths)
        EXPECT_EQ(n, 1) << h;
}
