// SPDX-License-Identifier: MIT
#include "VirtualMachine/GuestMemory.h"

#include "Base/Errors.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/mman.h>

namespace zelmo {

namespace {
constexpr uint64_t kCommitStep = uint64_t{1} << 20; // pages are opened 1 MiB at a time
}

GuestMemory::GuestMemory()
{
    void* p = mmap(nullptr, kSpan + kGuard, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                   -1, 0);
    if (p == MAP_FAILED) raiseFatal("cannot reserve the guest address space");
    m_base = static_cast<uint8_t*>(p);
    // The first 64 KiB stay inaccessible for ever: address 0 is null.
    m_committed = kFirstUsable;
}

GuestMemory::~GuestMemory()
{
    if (m_base) munmap(m_base, kSpan + kGuard);
}

uint32_t GuestMemory::allocate(uint64_t bytes, uint32_t align)
{
    const uint64_t start = (m_top + (align - 1)) & ~uint64_t{align - 1};
    const uint64_t end = start + bytes;
    // Keep one word of headroom below 4 GiB so that start + size never needs 33 bits.
    if (bytes > kSpan || end > kSpan - 16)
        raiseFatal("Out of memory: the application's heap cannot grow beyond 4 GiB");
    if (end > m_committed) {
        const uint64_t newCommitted = std::min((end + kCommitStep - 1) & ~(kCommitStep - 1), kSpan);
        if (mprotect(m_base + m_committed, newCommitted - m_committed, PROT_READ | PROT_WRITE) != 0)
            raiseFatal("Out of memory: the system refused more memory for the application's heap");
        m_committed = newCommitted;
    }
    m_top = end;
    // Fresh anonymous pages are zero already; nothing handed out is ever handed out again.
    return static_cast<uint32_t>(start);
}

void GuestMemory::reject(uint32_t addr, uint64_t size) const
{
    if (addr == 0) throwError(kNullPointer, "NULL pointer");
    char text[96];
    std::snprintf(text, sizeof text, "Invalid memory access at 0x%08x (%llu bytes)", addr,
                  static_cast<unsigned long long>(size));
    raiseFatal(text);
}

void GuestMemory::rejectMisaligned(uint32_t addr) const
{
    char text[64];
    std::snprintf(text, sizeof text, "Misaligned memory access at 0x%08x", addr);
    raiseFatal(text);
}

} // namespace zelmo
