// SPDX-License-Identifier: MIT
// The managed string: UTF-16 code units in a shared, reference-counted, copy-on-write block.
// A string value in bytecode is the handle of a one-word GC_CODE_REFERENCE box holding the
// handle of a GC_CODE_STRING entry, whose first word indexes this object in the ObjectTable.
// Every operation checks its arguments before it changes anything, so a failure (a managed
// error, see Errors.h) never leaves a half-edited string behind.
#pragma once

#include "Containers/GCObject.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo {

// Whether a comparison or search tells upper and lower case apart. The core's own type, so that
// strings need nothing from Qt (zelmo-vm's lean run links no Qt at all).
enum CaseSensitivity { CaseInsensitive, CaseSensitive };

// The shared text block. `units` has capacity + 1 slots; the one after the last is 0.
struct OStringData {
    char16_t* units = nullptr;
    int refCount = 0;
    int capacity = 0;
    int length = 0;
};

class OString final : public GCObject {
public:
    // An inclusive range of code units [from, to]. {0, -1} is the empty range, accepted on any
    // string; every other span must satisfy 0 <= from <= to < length (else RangeException).
    struct Span {
        int from = 0;
        int to = -1;
        bool isEmpty() const { return from == 0 && to == -1; }
        int count() const { return to - from + 1; }
    };

    // Longest text we build; longer results fail like a failed allocation (code 6).
    static constexpr int kMaxLength = 1 << 28;

    OString() = default;
    OString(const OString& other);
    OString& operator=(const OString& other);
    OString(std::u16string_view text);
    ~OString() override;

    // ---- construction ----
    // Latin-1 text from `startIndex` on: every byte becomes one code unit (index outside
    // 0..size: code 2).
    static OString fromLatin1(std::string_view text, int startIndex = 0);
    // `count` copies of `c` (count < 0: code 6).
    static OString filled(char16_t c, int count);
    // Decimal text of an int, with a minus sign for negatives.
    static OString fromInt(int32_t value);
    // Text of an int in a radix 2..36 (lower-case letters, minus sign for negatives); any
    // other radix gives the empty string.
    static OString fromIntRadix(int32_t value, int radix);
    // UTF-8 bytes, decoded leniently: four-byte sequences become surrogate pairs and ill-formed
    // bytes become U+FFFD (used for the string constants of an image).
    static OString fromUtf8Lenient(std::string_view bytes);
    // Strict UTF-8 (second bytes as RFC 3629 allows); no value for an ill-formed sequence.
    // Four-byte sequences become surrogate pairs.
    static std::optional<OString> fromUtf8(const uint8_t* bytes, size_t count);

    // ---- queries ----
    int length() const { return m_data ? m_data->length : 0; }
    bool isEmpty() const { return length() == 0; }
    int capacity() const { return m_data ? m_data->capacity : 0; }
    const char16_t* units() const { return m_data ? m_data->units : u""; }
    std::u16string_view view() const { return {units(), static_cast<size_t>(length())}; }
    std::u16string toU16() const { return std::u16string(view()); }
    // True when both share one text block (or both are empty).
    bool sharesBlockWith(const OString& other) const { return m_data == other.m_data; }
    // The whole string as a span ({0, -1} when empty), and from `index` to the end.
    Span all() const { return {0, length() - 1}; }
    Span from(int index) const { return {index, length() - 1}; }
    // RangeException (code 5) unless the span is empty or lies inside the string.
    void checkSpan(Span span) const;

    // Code unit at `index` (code 2 outside 0..length-1); first and last (code 2 when empty).
    char16_t charAt(int index) const;
    char16_t firstChar() const { return charAt(0); }
    char16_t lastChar() const { return charAt(length() - 1); }

    // First / last start of `needle` that lies wholly inside the span, or -1 (also for an
    // empty needle). A case-insensitive search lower-cases both sides unit by unit.
    int indexOf(const OString& needle, Span span, CaseSensitivity cs) const;
    int indexOf(const OString& needle, CaseSensitivity cs) const
    {
        return indexOf(needle, all(), cs);
    }
    int lastIndexOf(const OString& needle, Span span, CaseSensitivity cs) const;
    // Non-overlapping occurrences inside the span (0 for an empty needle).
    int countOf(const OString& needle, Span span, CaseSensitivity cs) const;
    // The unit that occurs most often in the span (ties: the one met first), lower-cased when
    // case is ignored. An empty span has none: DataFormatException (code 4).
    char16_t mostFrequentChar(Span span, CaseSensitivity cs) const;
    // An empty needle or one longer than the string gives false.
    bool startsWith(const OString& needle, CaseSensitivity cs) const;
    bool endsWith(const OString& needle, CaseSensitivity cs) const;

    // The difference of the first differing units (lower-cased when case is ignored), else
    // the length difference; 0 at once when both share one block.
    int compare(const OString& other, CaseSensitivity cs) const;
    // The same for the part `span` of this string.
    int compare(Span span, const OString& other, CaseSensitivity cs) const;
    bool equals(const OString& other, CaseSensitivity cs) const;
    // The part `span` has the length of `other` and equals it (empty other: code 6).
    bool equals(Span span, const OString& other, CaseSensitivity cs) const;
    friend bool operator==(const OString& a, const OString& b)
    {
        return a.equals(b, CaseSensitive);
    }
    friend std::strong_ordering operator<=>(const OString& a, const OString& b)
    {
        return a.compare(b, CaseSensitive) <=> 0;
    }

    // ---- editing in place (copy on write; the capacity rules are in OString.cpp) ----
    // Replaces the whole text.
    void assign(std::u16string_view text);
    // Inserts the part `span` of `other` before `at` (at = length appends). An empty part
    // changes nothing; otherwise `at` outside 0..length is code 2.
    void insertTo(int at, const OString& other, Span span);
    void insertTo(int at, const OString& other) { insertTo(at, other, other.all()); }
    void prepend(const OString& other) { insertTo(0, other); }
    void append(const OString& other) { insertTo(length(), other); }
    void append(std::u16string_view text);
    // Appends the decimal text of `value` (what append(fromInt(value)) gives).
    void appendDecimal(int32_t value);
    // The hot path of building text unit by unit: no block change while there is room.
    void append(char16_t c)
    {
        if (m_data && m_data->refCount == 1 && m_data->length < m_data->capacity) [[likely]] {
            m_data->units[m_data->length++] = c;
            m_data->units[m_data->length] = 0;
            return;
        }
        appendToNewBlock(c);
    }
    // Removes the span (the empty span changes nothing).
    void removeRange(Span span);
    void removeCharAt(int index);
    // The first / last `count` units (count outside 0..length: code 6).
    void removeFirstChars(int count);
    void removeLastChars(int count);
    // Replaces the span by `replacement` (the empty span changes nothing).
    void replaceRange(Span span, const OString& replacement);
    // The first, last or every non-overlapping occurrence of `needle` inside the span.
    void removeFirst(const OString& needle, Span span, CaseSensitivity cs);
    void removeLast(const OString& needle, Span span, CaseSensitivity cs);
    void removeAll(const OString& needle, Span span, CaseSensitivity cs);
    void replaceFirst(const OString& needle, const OString& replacement, Span span,
                      CaseSensitivity cs);
    void replaceLast(const OString& needle, const OString& replacement, Span span,
                     CaseSensitivity cs);
    void replaceAll(const OString& needle, const OString& replacement, Span span,
                    CaseSensitivity cs);
    // The text repeated `times` times (times < 0: code 6; 0 empties it).
    void repeat(int times);
    // Whitespace as isSpaceUnit defines it, per code unit.
    void trim();
    void trimStart();
    void trimEnd();
    void toLowerCase();
    void toUpperCase();
    void clear() { release(); }

    // ---- new strings ----
    static OString concat(const OString& a, const OString& b);
    OString repeated(int times) const;
    // The part `span` (validated); the whole string shares this one's block.
    OString substring(Span span) const;
    // Every `step`-th unit of the span, starting with its first (step < 1: code 6).
    OString stepped(Span span, int step) const;
    // The pieces between occurrences of `separator` (empty separator: code 6). Empty pieces
    // are dropped, and a string without the separator gives no pieces at all.
    std::vector<OString> split(const OString& separator, CaseSensitivity cs) const;

    // ---- parsing and encoding ----
    // Decimal: leading whitespace, one optional sign, digits modulo 2^32 up to the first
    // non-digit; no digit: DataFormatException (code 4).
    int32_t toInt() const;
    // Radix 2..36 (else code 6), no sign; digits 0-9 and letters of either case below the
    // radix; no digit: code 4.
    int32_t toIntRadix(int radix) const;
    // The same in 64 bits; `anyDigit` tells whether a digit was read instead of raising.
    int64_t toLongRadix(int radix, bool& anyDigit) const;
    // One to three bytes per code unit; surrogates are encoded one by one.
    std::vector<uint8_t> toUtf8() const;

    // A new block for n units: capacity max(10, floor(n * 1.2)).
    static int capacityFor(int n);

private:
    void release();
    // append(c) when the block is shared, full or absent.
    void appendToNewBlock(char16_t c);
    // Makes the block unshared with room for at least `needed` units (copy on write).
    void detach(int needed);
    // Replaces `removed` units at `position` by `inserted` (which may alias this block).
    void replaceUnits(int position, int removed, std::u16string_view inserted);
    // Makes `result` the whole text (it may alias this block), applying the block rules.
    void setUnits(std::u16string_view result);

    OStringData* m_data = nullptr;
};

// Per-code-unit character classes and case mapping: Qt's Unicode data (QChar), taken into
// tables when the core is built (GenerateCharTables.cpp), so that using them needs no Qt. A
// surrogate maps to itself and has no class.
char16_t toLowerUnit(char16_t c);
char16_t toUpperUnit(char16_t c);
bool isSpaceUnit(char16_t c);
bool isLetterUnit(char16_t c);
bool isDigitUnit(char16_t c); // decimal digits of any script

} // namespace zelmo
