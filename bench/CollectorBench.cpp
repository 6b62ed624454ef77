// SPDX-License-Identifier: MIT
// zelmo-collector-bench: the collector's cost per object on a large heap. Allocates N
// one-word reference boxes (default 10 million); every second one is live, linked to the
// previous live one, the others are garbage. Marks the chain from its last box, sweeps the
// heap, and prints the CPU time of each phase per object (mark: per live object; sweep: per
// entry walked, half of them released).
//
// Usage: zelmo-collector-bench [objects]
#include "VirtualMachine/GuestMemory.h"
#include "VirtualMachine/ObjectTable.h"
#include "VirtualMachine/VMHeap.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace zelmo;

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

} // namespace

int main(int argc, char** argv)
{
    const long objects = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000000;
    if (objects < 2) {
        std::fprintf(stderr, "usage: zelmo-collector-bench [objects]\n");
        return 2;
    }
    GuestMemory memory;
    ObjectTable objectTable;
    VMHeap heap(memory, objectTable, nullptr, 1 << 20, {});
    double start = cpuSeconds();
    uint32_t lastLive = 0;
    for (long i = 0; i < objects; ++i) {
        const uint32_t box = heap.allocate(4, 0, GC_CODE_REFERENCE);
        if (i % 2 == 0) {
            memory.store32(box, lastLive);
            lastLive = box;
        }
    }
    const double allocated = cpuSeconds() - start;
    start = cpuSeconds();
    heap.mark(lastLive);
    const double marked = cpuSeconds() - start;
    start = cpuSeconds();
    heap.sweep();
    const double swept = cpuSeconds() - start;
    const long live = (objects + 1) / 2;
    std::printf("heap of %ld objects, %ld live (CPU time)\n", objects, live);
    std::printf("allocate  %7.3f s  %6.1f ns/object\n", allocated, allocated * 1e9 / objects);
    std::printf("mark      %7.3f s  %6.1f ns/live object\n", marked, marked * 1e9 / live);
    std::printf("sweep     %7.3f s  %6.1f ns/object\n", swept, swept * 1e9 / objects);
    std::printf("mark+sweep          %6.1f ns/object\n", (marked + swept) * 1e9 / objects);
    return 0;
}
