// SPDX-License-Identifier: MIT
#include "VirtualMachine/ImageCursor.h"

namespace zelmo {

namespace {
bool isValidWidth(int width)
{
    return width == 1 || width == 2 || width == 4;
}
} // namespace

ImageFormatError::ImageFormatError(size_t offset, const std::string& section,
                                   const std::string& reason)
    : std::runtime_error("at byte " + std::to_string(offset) + " (" + section + "): " + reason),
      m_offset(offset), m_section(section), m_reason(reason)
{
}

void ImageCursor::fail(const std::string& reason) const
{
    throw ImageFormatError(m_pos, m_section, reason);
}

void ImageCursor::need(uint64_t n) const
{
    if (n > remaining()) fail("the image ends early");
}

void ImageCursor::checkCount(uint32_t count, int64_t minimumSize) const
{
    if (uint64_t{count} * static_cast<uint64_t>(minimumSize) > remaining())
        fail("count " + std::to_string(count) + " cannot fit in the " +
             std::to_string(remaining()) + " bytes that remain");
}

uint8_t ImageCursor::u8()
{
    need(1);
    return m_data[m_pos++];
}

uint32_t ImageCursor::sized(int width)
{
    need(static_cast<uint64_t>(width));
    uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= uint32_t{m_data[m_pos++]} << (8 * i);
    return v;
}

const uint8_t* ImageCursor::take(uint64_t n)
{
    need(n);
    const uint8_t* p = m_data + m_pos;
    m_pos += static_cast<size_t>(n);
    return p;
}

const uint8_t* ImageCursor::identity()
{
    setSection("identity");
    const uint8_t length = u8();
    if (length != 20) fail("identity length is " + std::to_string(length) + ", not 20");
    return take(20);
}

void ImageCursor::marker()
{
    setSection("marker");
    for (int i = 0; i < 2; ++i) {
        const uint8_t b = u8();
        if (b != 0xFF) fail("marker byte is " + std::to_string(b) + ", not 255");
    }
}

std::array<uint8_t, kImageWidthCount> ImageCursor::widths()
{
    setSection("widths");
    std::array<uint8_t, kImageWidthCount> widths{};
    for (int k = 0; k < kImageWidthCount; ++k) {
        widths[k] = u8();
        if (!isValidWidth(widths[k]))
            fail(std::string("width '") + kImageWidthNames[k] + "' is " +
                 std::to_string(widths[k]) + ", not 1, 2 or 4");
    }
    return widths;
}

uint8_t ImageCursor::offsetWidth()
{
    const uint8_t width = u8();
    if (!isValidWidth(width)) fail("offset width is " + std::to_string(width) + ", not 1, 2 or 4");
    return width;
}

uint8_t ImageCursor::flag()
{
    const uint8_t flag = u8();
    if (flag != 0 && flag != 0xFF) fail("flag byte is " + std::to_string(flag) + ", not 0 or 255");
    return flag;
}

} // namespace zelmo
