// SPDX-License-Identifier: MIT
// OString and UTF-8. Encoding works per code unit (a surrogate pair becomes two three-byte
// sequences). The strict decoder accepts the lead bytes and second-byte ranges of RFC 3629
// and turns four-byte sequences into surrogate pairs; the lenient one, used for the string
// constants of an image, replaces what it cannot read with U+FFFD instead of failing.
#include "Containers/OString.h"

namespace zelmo {

namespace {

// Sequence length for a lead byte, 0 when it cannot start a sequence.
int sequenceLength(uint8_t lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// The second byte RFC 3629 allows after a multi-byte lead (it excludes overlong forms,
// surrogates and values above U+10FFFF).
bool secondByteAllowed(uint8_t lead, uint8_t second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return second >= 0x80 && second <= 0xBF;
    }
}

void appendCodePoint(std::u16string& out, uint32_t c)
{
    if (c > 0xFFFF) {
        out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

} // namespace

std::vector<uint8_t> OString::toUtf8() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(length()));
    for (const char16_t c : view()) {
        if (c <= 0x7F) {
            bytes.push_back(static_cast<uint8_t>(c));
        } else if (c <= 0x7FF) {
            bytes.push_back(static_cast<uint8_t>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<uint8_t>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<uint8_t>(0x80 | (c & 0x3F)));
        }
    }
    return bytes;
}

std::optional<OString> OString::fromUtf8(const uint8_t* bytes, size_t count)
{
    if (count > static_cast<size_t>(kMaxLength)) return std::nullopt;
    std::u16string out;
    out.reserve(count);
    size_t i = 0;
    while (i < count) {
        const uint8_t lead = bytes[i];
        const int length = sequenceLength(lead);
        if (length == 0 || count - i < static_cast<size_t>(length)) return std::nullopt;
        if (length == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        if (!secondByteAllowed(lead, bytes[i + 1])) return std::nullopt;
        // The lead's payload bits, then six bits of every continuation byte; bytes after the
        // second are taken as they come.
        uint32_t value = lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k)
            value = (value << 6) | (bytes[i + static_cast<size_t>(k)] & 0x3Fu);
        appendCodePoint(out, value);
        i += static_cast<size_t>(length);
    }
    return OString(out);
}

OString OString::fromUtf8Lenient(std::string_view text)
{
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const size_t n = text.size();
    std::u16string out;
    out.reserve(n);
    auto continuation = [&](size_t k) { return k < n && (p[k] & 0xC0) == 0x80; };
    size_t i = 0;
    while (i < n) {
        const uint8_t lead = p[i];
        const int length = sequenceLength(lead);
        bool wellFormed = length == 1 || (length > 1 && n - i >= static_cast<size_t>(length) &&
                                          secondByteAllowed(lead, p[i + 1]));
        for (int k = 2; wellFormed && k < length; ++k)
            wellFormed = continuation(i + static_cast<size_t>(k));
        if (!wellFormed) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k)
            value = (value << 6) | (p[i + static_cast<size_t>(k)] & 0x3Fu);
        appendCodePoint(out, value);
        i += static_cast<size_t>(length);
    }
    return OString(out);
}

} // namespace zelmo
