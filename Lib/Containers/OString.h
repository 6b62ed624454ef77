// SPDX-License-Identifier: MIT
// The managed string: UTF-16 code units in a shared, reference-counted, copy-on-write block.
// A string value in bytecode is the handle of a one-word GC_CODE_REFERENCE box holding the
// handle of a GC_CODE_STRING entry, whose first word indexes this object in the ObjectTable.
#pragma once

#include "GCObject.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmo {

// The shared text block. `units` has capacity + 1 slots; the one after the last is 0.
struct OStringData {
    char16_t* units = nullptr;
    int refCount = 0;
    int capacity = 0;
    int length = 0;
};

class OString : public GCObject {
public:
    OString() = default;
    OString(const OString& other);
    OString& operator=(const OString& other);
    OString(std::u16string_view text);
    ~OString() override;

    // Latin-1 text: every byte becomes one code unit.
    static OString fromLatin1(std::string_view text);
    // Decimal text of an int.
    static OString fromInt(int32_t value);
    // UTF-8 bytes, decoded leniently: four-byte sequences become surrogate pairs and ill-formed
    // bytes become U+FFFD (used for the string constants of an image).
    static OString fromUtf8Lenient(std::string_view bytes);

    int length() const { return m_data ? m_data->length : 0; }
    bool isEmpty() const { return length() == 0; }
    int capacity() const { return m_data ? m_data->capacity : 0; }
    const char16_t* units() const { return m_data ? m_data->units : u""; }
    std::u16string_view view() const { return {units(), static_cast<size_t>(length())}; }
    std::u16string toU16() const { return std::u16string(view()); }
    // True when both share one text block (or both are empty).
    bool sharesBlockWith(const OString& other) const { return m_data == other.m_data; }

    // Replaces the whole text.
    void assign(std::u16string_view text);
    void append(std::u16string_view text);

    // A new block for n units: capacity max(10, floor(n * 1.2)).
    static int capacityFor(int n);

protected:
    void release();
    // Makes the block unshared with room for at least `needed` units (copy on write).
    void detach(int needed);

    OStringData* m_data = nullptr;
};

} // namespace zelmo
