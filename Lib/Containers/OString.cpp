// SPDX-License-Identifier: MIT
#include "OString.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zelmo {

namespace {

OStringData* newBlock(int length)
{
    auto* block = new OStringData;
    block->capacity = OString::capacityFor(length);
    block->units = new char16_t[static_cast<size_t>(block->capacity) + 1]();
    block->length = 0;
    block->refCount = 0;
    return block;
}

void freeBlock(OStringData* block)
{
    delete[] block->units;
    delete block;
}

} // namespace

int OString::capacityFor(int n)
{
    return std::max(10, static_cast<int>(std::floor(static_cast<double>(n) * 1.2)));
}

OString::OString(const OString& other) : GCObject(), m_data(other.m_data)
{
    if (m_data)
        ++m_data->refCount;
}

OString& OString::operator=(const OString& other)
{
    if (m_data == other.m_data)
        return *this;
    release();
    m_data = other.m_data;
    if (m_data)
        ++m_data->refCount;
    return *this;
}

OString::OString(std::u16string_view text) { assign(text); }

OString::~OString() { release(); }

void OString::release()
{
    if (m_data && --m_data->refCount == 0)
        freeBlock(m_data);
    m_data = nullptr;
}

void OString::detach(int needed)
{
    if (m_data && m_data->refCount == 1 && needed <= m_data->capacity)
        return;
    OStringData* block = newBlock(needed);
    const int keep = std::min(length(), needed);
    if (keep > 0)
        std::copy(units(), units() + keep, block->units);
    block->length = keep;
    release();
    m_data = block;
    m_data->refCount = 1;
}

void OString::assign(std::u16string_view text)
{
    if (text.empty()) {
        release();
        return;
    }
    // Never edit a block another string shares, and never overwrite our own source.
    if (!m_data || m_data->refCount != 1 || static_cast<int>(text.size()) > m_data->capacity ||
        (text.data() >= m_data->units && text.data() < m_data->units + m_data->capacity)) {
        OStringData* block = newBlock(static_cast<int>(text.size()));
        release();
        m_data = block;
        m_data->refCount = 1;
    }
    std::copy(text.begin(), text.end(), m_data->units);
    m_data->length = static_cast<int>(text.size());
    m_data->units[m_data->length] = 0;
}

void OString::append(std::u16string_view text)
{
    if (text.empty())
        return;
    const int oldLength = length();
    const int newLength = oldLength + static_cast<int>(text.size());
    if (!m_data || m_data->refCount != 1 || newLength > m_data->capacity) {
        OStringData* block = newBlock(newLength);
        std::copy(units(), units() + oldLength, block->units);
        std::copy(text.begin(), text.end(), block->units + oldLength);
        release();
        m_data = block;
        m_data->refCount = 1;
    } else {
        std::copy(text.begin(), text.end(), m_data->units + oldLength);
    }
    m_data->length = newLength;
    m_data->units[newLength] = 0;
}

OString OString::fromLatin1(std::string_view text)
{
    std::u16string units(text.size(), u'\0');
    std::transform(text.begin(), text.end(), units.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return OString(units);
}

OString OString::fromInt(int32_t value) { return fromLatin1(std::to_string(value)); }

OString OString::fromUtf8Lenient(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    auto cont = [&](size_t k) { return k < n && (p[k] & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF && cont(i + 1)) {
            out.push_back(static_cast<char16_t>(((b & 0x1F) << 6) | (p[i + 1] & 0x3F)));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && i + 1 < n &&
                   p[i + 1] >= (b == 0xE0 ? 0xA0 : 0x80) && p[i + 1] <= (b == 0xED ? 0x9F : 0xBF) &&
                   cont(i + 2)) {
            out.push_back(static_cast<char16_t>(((b & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) |
                                                (p[i + 2] & 0x3F)));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4 && i + 1 < n &&
                   p[i + 1] >= (b == 0xF0 ? 0x90 : 0x80) && p[i + 1] <= (b == 0xF4 ? 0x8F : 0xBF) &&
                   cont(i + 2) && cont(i + 3)) {
            const uint32_t c = ((b & 0x07u) << 18) | ((p[i + 1] & 0x3Fu) << 12) |
                               ((p[i + 2] & 0x3Fu) << 6) | (p[i + 3] & 0x3Fu);
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            i += 4;
        } else {
            out.push_back(0xFFFD);
            ++i;
        }
    }
    return OString(out);
}

} // namespace zelmo
