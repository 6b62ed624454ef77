// SPDX-License-Identifier: MIT
// zelmo-heap-bench: runs one allocate/release workload through VMHeap and through the C
// library's malloc/free and prints both times and their ratio. The workload keeps a churning
// live set of objects whose sizes are mostly 8-64 bytes with a tail of larger ones, the mix a
// bytecode application produces with strings, boxes, small objects and arrays.
//
// Usage: zelmo-heap-bench [operations] [live-set-size]
#include "VirtualMachine/GuestMemory.h"
#include "VirtualMachine/ObjectTable.h"
#include "VirtualMachine/VMHeap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

using namespace zelmo;

namespace {

struct Operation {
    uint32_t slot; // the live-set slot to replace
    uint32_t size; // bytes of the new object
};

std::vector<Operation> makeWorkload(size_t operations, uint32_t slots)
{
    std::mt19937 rng(12345);
    std::vector<Operation> ops(operations);
    for (Operation& op : ops) {
        const uint32_t r = rng() % 100;
        if (r < 70)
            op.size = 8 + rng() % 57;
        else if (r < 90)
            op.size = 65 + rng() % 192;
        else if (r < 98)
            op.size = 257 + rng() % 1792;
        else
            op.size = 2049 + rng() % 14336;
        op.slot = rng() % slots;
    }
    return ops;
}

// CPU time of this thread: on a shared machine wall time measures the neighbours' load too.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Every object gets one word written, as a program would initialise it.
double runHeap(const std::vector<Operation>& ops, uint32_t slots)
{
    GuestMemory memory;
    ObjectTable objects;
    VMHeap heap(memory, objects, nullptr, 64000, {});
    std::vector<uint32_t> live(slots, 0);
    const double start = cpuSeconds();
    for (const Operation& op : ops) {
        if (live[op.slot]) heap.release(live[op.slot]);
        const uint32_t h = heap.allocate(op.size, 0, GC_CODE_NATIVE);
        *reinterpret_cast<uint32_t*>(memory.hostAddress(h)) = op.slot;
        live[op.slot] = h;
    }
    for (uint32_t h : live)
        heap.release(h);
    return cpuSeconds() - start;
}

double runMalloc(const std::vector<Operation>& ops, uint32_t slots, bool zero)
{
    std::vector<void*> live(slots, nullptr);
    const double start = cpuSeconds();
    for (const Operation& op : ops) {
        std::free(live[op.slot]);
        void* p = std::malloc(op.size);
        if (!p) std::abort();
        if (zero) std::memset(p, 0, op.size); // the heap hands out zeroed blocks
        *static_cast<uint32_t*>(p) = op.slot;
        live[op.slot] = p;
    }
    for (void* p : live)
        std::free(p);
    return cpuSeconds() - start;
}

template <class F> double best(int runs, F&& f)
{
    double result = 1e30;
    for (int i = 0; i < runs; ++i)
        result = std::min(result, f());
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const size_t operations = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 5000000;
    const uint32_t slots = argc > 2 ? uint32_t(std::strtoul(argv[2], nullptr, 10)) : 20000;
    if (operations == 0 || slots == 0) {
        std::fprintf(stderr, "usage: zelmo-heap-bench [operations] [live-set-size]\n");
        return 2;
    }
    const std::vector<Operation> ops = makeWorkload(operations, slots);
    constexpr int kRuns = 3;
    const double heap = best(kRuns, [&] { return runHeap(ops, slots); });
    const double mallocZeroed = best(kRuns, [&] { return runMalloc(ops, slots, true); });
    const double mallocPlain = best(kRuns, [&] { return runMalloc(ops, slots, false); });

    std::printf("workload: %zu replacements in a live set of %u objects (CPU time, best of %d "
                "runs)\n",
                operations, slots, kRuns);
    std::printf("VMHeap allocate/release   %8.3f s  %6.1f ns/op\n", heap, heap * 1e9 / operations);
    std::printf("malloc+memset/free        %8.3f s  %6.1f ns/op\n", mallocZeroed,
                mallocZeroed * 1e9 / operations);
    std::printf("malloc/free (no zeroing)  %8.3f s  %6.1f ns/op\n", mallocPlain,
                mallocPlain * 1e9 / operations);
    std::printf("ratio VMHeap / (malloc+memset) = %.2f\n", heap / mallocZeroed);
    std::printf("ratio VMHeap / malloc          = %.2f\n", heap / mallocPlain);
    return 0;
}
