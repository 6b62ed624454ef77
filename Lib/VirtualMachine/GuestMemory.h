// SPDX-License-Identifier: MIT
// Everything bytecode can address (operand stack, heap pools and so every object, string box,
// array storage and the globals block) lives in one arena, and a guest address is a uint32_t
// offset into it. The reservation covers the whole 32-bit range plus a trailing guard, so even
// an address that escaped a check cannot reach host memory. Pages become accessible only as the
// bump allocator hands them out; the first 64 KiB are never handed out, so 0 is null and small
// numbers are never objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zelmo {

class GuestMemory {
public:
    static constexpr uint64_t kSpan = uint64_t{1} << 32;
    static constexpr uint64_t kGuard = uint64_t{1} << 20;
    static constexpr uint32_t kFirstUsable = 64 * 1024;

    GuestMemory();
    ~GuestMemory();
    GuestMemory(const GuestMemory&) = delete;
    GuestMemory& operator=(const GuestMemory&) = delete;

    // Hands out `bytes` zeroed bytes aligned to `align` (a power of two). Never freed before the
    // arena dies. Exhaustion is an orderly fatal error.
    uint32_t allocate(uint64_t bytes, uint32_t align = 8);

    // One past the last byte handed out.
    uint64_t top() const { return m_top; }

    // True when [addr, addr + size) lies inside what has been handed out.
    bool contains(uint32_t addr, uint64_t size) const
    {
        return addr >= kFirstUsable && uint64_t{addr} + size <= m_top;
    }

    uint32_t load32(uint32_t addr) const
    {
        check(addr, 4);
        uint32_t v;
        std::memcpy(&v, at(addr), 4);
        return v;
    }
    void store32(uint32_t addr, uint32_t v)
    {
        check(addr, 4);
        std::memcpy(at(addr), &v, 4);
    }
    uint16_t load16(uint32_t addr) const
    {
        check(addr, 2);
        uint16_t v;
        std::memcpy(&v, at(addr), 2);
        return v;
    }
    void store16(uint32_t addr, uint16_t v)
    {
        check(addr, 2);
        std::memcpy(at(addr), &v, 2);
    }
    uint8_t load8(uint32_t addr) const
    {
        check(addr, 1);
        return *at(addr);
    }
    void store8(uint32_t addr, uint8_t v)
    {
        check(addr, 1);
        *at(addr) = v;
    }
    int64_t load64(uint32_t addr) const
    {
        check(addr, 8);
        int64_t v;
        std::memcpy(&v, at(addr), 8);
        return v;
    }
    void store64(uint32_t addr, int64_t v)
    {
        check(addr, 8);
        std::memcpy(at(addr), &v, 8);
    }

    // A checked host view of `size` bytes at addr, for block operations.
    uint8_t* bytes(uint32_t addr, uint64_t size)
    {
        check(addr, size);
        return at(addr);
    }
    // A checked host view of `count` words; the address must be 4-aligned.
    uint32_t* words(uint32_t addr, uint64_t count)
    {
        check(addr, count * 4);
        if (addr & 3) [[unlikely]]
            rejectMisaligned(addr);
        return reinterpret_cast<uint32_t*>(at(addr));
    }

    // Unchecked conversions for code that has already validated the range (the heap, the
    // interpreter's stack pointer).
    uint8_t* hostAddress(uint32_t addr) const { return at(addr); }
    uint32_t guestAddress(const void* p) const
    {
        return static_cast<uint32_t>(static_cast<const uint8_t*>(p) - m_base);
    }

    // The error for a bad address: the catchable null error for 0, a fatal error otherwise.
    [[noreturn]] void reject(uint32_t addr, uint64_t size) const;

private:
    uint8_t* at(uint32_t addr) const { return m_base + static_cast<uint64_t>(addr); }
    void check(uint32_t addr, uint64_t size) const
    {
        if (addr < kFirstUsable || uint64_t{addr} + size > m_top) [[unlikely]]
            reject(addr, size);
    }
    [[noreturn]] void rejectMisaligned(uint32_t addr) const;

    uint8_t* m_base = nullptr;
    uint64_t m_top = kFirstUsable;       // bump pointer
    uint64_t m_committed = kFirstUsable; // accessible up to here (page-granular)
};

} // namespace zelmo
