// SPDX-License-Identifier: MIT
// Character classes and case mapping for OString, one UTF-16 code unit at a time with Qt's
// Unicode data (CharTables.inc, written from QChar when the core is built; a surrogate maps to
// itself), and the edits built on them: trimming and case conversion of a whole string.
#include "Containers/OString.h"

#include <algorithm>
#include <cstdint>

namespace zelmo {

#include "CharTables.inc"

namespace {

const CharRecord& recordOf(char16_t c)
{
    const unsigned block = kCharBlockOf[c >> kCharBlockBits];
    return kCharRecords[kCharBlocks[(block << kCharBlockBits) |
                                    (c & ((1u << kCharBlockBits) - 1))]];
}

} // namespace

char16_t toLowerUnit(char16_t c)
{
    if (c < 0x80) // the common case, without a table lookup
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    return static_cast<char16_t>(c + recordOf(c).lowerDelta);
}

char16_t toUpperUnit(char16_t c)
{
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return static_cast<char16_t>(c + recordOf(c).upperDelta);
}

bool isSpaceUnit(char16_t c)
{
    return (recordOf(c).flags & 1) != 0;
}

bool isLetterUnit(char16_t c)
{
    return (recordOf(c).flags & 2) != 0;
}

bool isDigitUnit(char16_t c)
{
    return (recordOf(c).flags & 4) != 0;
}

namespace {

// The text without its leading and/or trailing whitespace, as one part of `text`.
std::u16string_view trimmed(std::u16string_view text, bool atStart, bool atEnd)
{
    auto first = text.begin();
    auto last = text.end();
    if (atStart) first = std::find_if_not(first, last, isSpaceUnit);
    if (atEnd) {
        while (last != first && isSpaceUnit(*(last - 1)))
            --last;
    }
    return text.substr(static_cast<size_t>(first - text.begin()),
                       static_cast<size_t>(last - first));
}

} // namespace

void OString::trim()
{
    const std::u16string_view kept = trimmed(view(), true, true);
    if (kept.size() != view().size()) setUnits(kept);
}

void OString::trimStart()
{
    const std::u16string_view kept = trimmed(view(), true, false);
    if (kept.size() != view().size()) setUnits(kept);
}

void OString::trimEnd()
{
    const std::u16string_view kept = trimmed(view(), false, true);
    if (kept.size() != view().size()) setUnits(kept);
}

void OString::toLowerCase()
{
    if (isEmpty()) return;
    detach(length());
    std::transform(m_data->units, m_data->units + m_data->length, m_data->units, toLowerUnit);
}

void OString::toUpperCase()
{
    if (isEmpty()) return;
    detach(length());
    std::transform(m_data->units, m_data->units + m_data->length, m_data->units, toUpperUnit);
}

} // namespace zelmo
