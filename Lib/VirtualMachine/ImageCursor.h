// SPDX-License-Identifier: MIT
// The structural checks of the index.mcb format, shared by the machine's loader and the
// disassembler's reader so that both refuse the same images for the same, stated reason: a
// bounds-checked cursor over the image bytes that knows which section it is in. Every read is
// checked against the end; every count against the bytes that remain, before anything is
// allocated for it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelmo {

// The nine header width bytes, in file order, by the names the assembler uses.
inline constexpr int kImageWidthCount = 9;
inline constexpr std::array<const char*, kImageWidthCount> kImageWidthNames = {
    "code", "gcinfo", "class", "hassuper", "skipcount", "slot1", "slot2", "slot3", "entrycount"};

// What was wrong and where: the byte offset reached when the fault was found.
class ImageFormatError : public std::runtime_error {
public:
    ImageFormatError(size_t offset, const std::string& section, const std::string& reason);
    size_t offset() const { return m_offset; }
    const std::string& section() const { return m_section; }
    const std::string& reason() const { return m_reason; }

private:
    size_t m_offset;
    std::string m_section;
    std::string m_reason;
};

class ImageCursor {
public:
    ImageCursor(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }
    // Names the section that faults are reported in.
    void setSection(const char* section) { m_section = section; }

    [[noreturn]] void fail(const std::string& reason) const;

    uint8_t u8();
    // A value of `width` bytes (1, 2 or 4), little-endian, zero-extended.
    uint32_t sized(int width);
    uint32_t u32() { return sized(4); }
    // The next n bytes, in place.
    const uint8_t* take(uint64_t n);

    // A count whose top bit is set reads as negative and stands for an empty list.
    static bool isEmptyCount(uint32_t count) { return (count & 0x80000000u) != 0; }
    // Refuses a count of items of at least `minimumSize` bytes each that cannot fit in what
    // remains.
    void checkCount(uint32_t count, int64_t minimumSize) const;

    // The header: the identity (its length byte must be 20; the 20 bytes in place), the two
    // marker bytes (255 each) and the nine widths (1, 2 or 4 each).
    const uint8_t* identity();
    void marker();
    std::array<uint8_t, kImageWidthCount> widths();
    // The width byte in front of a class's or method info's offsets.
    uint8_t offsetWidth();
    // A flag byte of a flagged offset: 0, or 255 for references.
    uint8_t flag();

private:
    void need(uint64_t n) const;

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    const char* m_section = "header";
};

} // namespace zelmo
