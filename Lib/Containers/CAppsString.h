// SPDX-License-Identifier: MIT
// CAppsString: UTF-16 text for the runtime's own use (names, paths, host interfaces and the
// heap's usage report). The code units live in the Vec it derives from; no terminator is
// stored. Numbers, Latin-1 text and byte buffers convert to it directly.
#pragma once

#include "Containers/Vec.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

class CAppsString : public Vec<unsigned short> {
public:
    CAppsString() = default;
    // Zero-terminated 8-bit text, each byte widened to one code unit (Latin-1). Null: code 1.
    CAppsString(const char* latin1);
    // Zero-terminated UTF-16 text. Null: code 1.
    explicit CAppsString(const unsigned short* text);
    explicit CAppsString(const char16_t* text);
    // `count` bytes, each widened to one code unit. A negative count: code 6.
    CAppsString(const unsigned char* bytes, int count);
    explicit CAppsString(std::u16string_view text);
    // Decimal text, with a leading minus sign for negative values.
    explicit CAppsString(int32_t value);
    explicit CAppsString(int64_t value);
    // Digits 0-9 then lower-case letters; a radix outside 2..36: code 6.
    CAppsString(uint32_t value, int radix);

    using Vec<unsigned short>::append;
    CAppsString& append(const CAppsString& other);
    CAppsString& append(std::u16string_view text);
    CAppsString& append(const char* latin1);
    CAppsString& operator+=(const CAppsString& other) { return append(other); }

    std::u16string_view view() const
    {
        return {reinterpret_cast<const char16_t*>(data()), static_cast<size_t>(size())};
    }
    std::u16string toU16String() const { return std::u16string(view()); }
    // Lossless for Latin-1 and ASCII text; other units become UTF-8 sequences.
    std::string toUtf8() const;

    bool operator==(const CAppsString& other) const { return view() == other.view(); }
    bool operator==(std::u16string_view other) const { return view() == other; }

private:
    void appendDigits(uint64_t magnitude, int radix, bool negative);
    void makeRoom(uint64_t extra);
};

CAppsString operator+(const CAppsString& left, const CAppsString& right);

} // namespace zelmo
