// SPDX-License-Identifier: MIT
// A program may write over the heap's bookkeeping in guest memory (through a handle it released,
// or at any address it computes): every such damage must end in "FATAL: Heap corrupted: ..."
// and the fatal error, never in an abort or a host access outside the arena, and the heap must
// refuse all further work.
#include "Base/Errors.h"
#include "VirtualMachine/VMHeap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

using namespace zelmo;

namespace {

std::string hex(uint32_t address)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", address);
    return text;
}

TEST(HeapDamageTest, EveryDamagedWordEndsInTheFatalLine)
{
    struct Case {
        const char* name;
        // Damages the heap given three adjacent 8-byte objects; returns the expected line.
        std::function<std::string(VMHeap&, GuestMemory&, uint32_t, uint32_t, uint32_t)> damage;
        std::function<void(VMHeap&, uint32_t, uint32_t, uint32_t)> use;
    };
    const auto releaseB = [](VMHeap& heap, uint32_t, uint32_t b, uint32_t) { heap.release(b); };
    // Small released entries wait unmerged in quick lists; a sweep merges them.
    const auto sweep = [](VMHeap& heap, uint32_t, uint32_t, uint32_t) { heap.sweep(); };
    const std::string trailerLine = "FATAL: Heap corrupted: entry size or trailer at ";
    // A word written at an address next to b.
    const auto write = [&](int32_t offset, uint32_t value, std::string line, int32_t at) {
        return [=](VMHeap&, GuestMemory& m, uint32_t, uint32_t b, uint32_t) {
            m.store32(b + offset, value);
            return line + hex(b + at);
        };
    };
    const Case cases[] = {
        {"own trailer, then release", write(8, 99, trailerLine, -24), releaseB},
        {"own size, then release", write(-20, 0x7ffffff0, trailerLine, -24), releaseB},
        {"the previous entry's trailer, then release",
         write(-28, 12, "FATAL: Heap corrupted: trailer at ", -28), releaseB},
        {"free-list link forged on a live entry, then release",
         write(-4, 1, "FATAL: Heap corrupted: free-list link at ", -24), releaseB},
        {"free-list link of a released neighbour, then merge",
         [](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t, uint32_t c) {
             heap.release(c);
             m.store32(c - 4, 7);
             return "FATAL: Heap corrupted: free-list link at " + hex(c - 24);
         },
         sweep},
        {"size of a released entry, then merge",
         [](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t b, uint32_t) {
             heap.release(b);
             m.store32(b - 20, 4);
             m.store32(b + 4, 32); // the trailer agrees, the list's copy does not
             return "FATAL: Heap corrupted: free entry size at " + hex(b - 24);
         },
         sweep},
        {"free-list link of an entry in a quick list, then reused",
         [](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t b, uint32_t) {
             heap.release(b);
             m.store32(b - 4, 7);
             return "FATAL: Heap corrupted: free-list link at " + hex(b - 24);
         },
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) { heap.allocate(8, 0, GC_CODE_NATIVE); }},
        {"link cleared on a free entry, which is then released again and allocated twice",
         [](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t b, uint32_t) {
             heap.release(b);
             m.store32(b - 4, 0);
             heap.release(b); // looks live: listed a second time
             heap.allocate(8, 0, GC_CODE_NATIVE);
             return "FATAL: Heap corrupted: free-list link at " + hex(b - 24);
         },
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) {
             for (int i = 0; i < 3; ++i)
                 heap.allocate(8, 0, GC_CODE_NATIVE);
         }},
        {"size of a live object the collector traces",
         [&](VMHeap& heap, GuestMemory& m, uint32_t a, uint32_t, uint32_t) {
             heap.addRoot(a);
             m.store32(a - 20, 0x40000000);
             return trailerLine + hex(a - 24);
         },
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) { heap.collect(); }},
        {"code of the first terminator, then release it",
         [](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t, uint32_t) {
             m.store32(heap.poolStart(0) + 16, GC_CODE_NATIVE);
             return "FATAL: Heap corrupted: trailer at " + hex(heap.poolStart(0) - 4);
         },
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) { heap.release(heap.poolStart(0) + 24); }},
        {"code of the closing terminator, then release it",
         [&](VMHeap& heap, GuestMemory& m, uint32_t, uint32_t, uint32_t) {
             const uint32_t closing = heap.poolStart(0) + heap.poolSize(0) - 24;
             m.store32(closing + 16, GC_CODE_NATIVE);
             return trailerLine + hex(closing);
         },
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) {
             heap.release(heap.poolStart(0) + heap.poolSize(0));
         }},
        {"size of a garbage object the sweep walks over", write(-20, 12, trailerLine, -24),
         [](VMHeap& heap, uint32_t, uint32_t, uint32_t) { heap.collect(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuestMemory memory;
        ObjectTable objects;
        // Room for exactly four 8-byte objects, so that the fourth comes from a size-class list.
        VMHeap heap(memory, objects, nullptr, 144, {});
        const uint32_t a = heap.allocate(8, 0, GC_CODE_NATIVE);
        const uint32_t b = heap.allocate(8, 0, GC_CODE_NATIVE);
        const uint32_t d = heap.allocate(8, 0, GC_CODE_NATIVE);
        ASSERT_EQ(b, a + 36);
        ASSERT_EQ(d, b + 36);
        ::testing::internal::CaptureStderr();
        std::string expected;
        bool fatal = false;
        try {
            expected = c.damage(heap, memory, a, b, d);
            c.use(heap, a, b, d);
        } catch (const ErrorHandlingException&) {
            fatal = lastErrorCode() == kFatal;
        }
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(fatal);
        EXPECT_NE(err.find(expected + "\n"), std::string::npos) << err;
        // From now on the heap refuses everything, quietly: the line is printed once.
        ::testing::internal::CaptureStderr();
        EXPECT_THROW(heap.allocate(4, 0, GC_CODE_NATIVE), ErrorHandlingException);
        EXPECT_THROW(heap.collect(), ErrorHandlingException);
        EXPECT_THROW(heap.release(a), ErrorHandlingException);
        EXPECT_EQ(lastErrorCode(), kFatal);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        clearError();
    }
}

} // namespace
