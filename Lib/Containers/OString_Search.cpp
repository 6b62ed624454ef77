// SPDX-License-Identifier: MIT
// OString's searches and comparisons, and the edits built on a search: removing or replacing
// the first, last or every occurrence, and splitting. Without regard to case, both sides are
// lower-cased one code unit at a time.
#include "Containers/OString.h"

#include "Base/Errors.h"

#include <algorithm>
#include <unordered_map>

namespace zelmo {

namespace {

// A needle prepared for one search: lower-cased once when case is ignored.
class Needle {
public:
    Needle(std::u16string_view text, CaseSensitivity cs) : m_exact(cs == CaseSensitive)
    {
        if (m_exact) {
            m_text = text;
        } else {
            m_folded.resize(text.size());
            std::transform(text.begin(), text.end(), m_folded.begin(), toLowerUnit);
            m_text = m_folded;
        }
    }
    Needle(const Needle&) = delete; // m_text may point into m_folded
    Needle& operator=(const Needle&) = delete;
    int length() const { return static_cast<int>(m_text.size()); }
    bool matchesAt(const char16_t* p) const
    {
        if (m_exact) return std::equal(m_text.begin(), m_text.end(), p);
        for (size_t k = 0; k < m_text.size(); ++k) {
            if (toLowerUnit(p[k]) != m_text[k]) return false;
        }
        return true;
    }
    bool exact() const { return m_exact; }
    std::u16string_view text() const { return m_text; }

private:
    bool m_exact;
    std::u16string m_folded;
    std::u16string_view m_text;
};

// First start in [from, to - length + 1], or -1. `to` is inclusive.
int findForward(std::u16string_view hay, int from, int to, const Needle& needle)
{
    const int n = needle.length();
    if (n == 0 || from > to || to - from + 1 < n) return -1;
    const int last = to - n + 1;
    const char16_t* units = hay.data();
    if (needle.exact()) {
        const std::u16string_view window =
            hay.substr(static_cast<size_t>(from), static_cast<size_t>(to - from + 1));
        const size_t found = window.find(needle.text());
        return found == std::u16string_view::npos ? -1 : from + static_cast<int>(found);
    }
    const char16_t first = needle.text()[0];
    for (int i = from; i <= last; ++i) {
        if (toLowerUnit(units[i]) == first && needle.matchesAt(units + i)) return i;
    }
    return -1;
}

int findBackward(std::u16string_view hay, int from, int to, const Needle& needle)
{
    const int n = needle.length();
    if (n == 0 || from > to || to - from + 1 < n) return -1;
    for (int i = to - n + 1; i >= from; --i) {
        if (needle.matchesAt(hay.data() + i)) return i;
    }
    return -1;
}

// Starts of all non-overlapping occurrences in [from, to], left to right.
std::vector<int> findAll(std::u16string_view hay, int from, int to, const Needle& needle)
{
    std::vector<int> starts;
    for (int i = findForward(hay, from, to, needle); i >= 0;
         i = findForward(hay, i + needle.length(), to, needle))
        starts.push_back(i);
    return starts;
}

int compareUnits(std::u16string_view a, std::u16string_view b, CaseSensitivity cs)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = a[i], y = b[i];
        if (cs == CaseInsensitive) {
            x = toLowerUnit(x);
            y = toLowerUnit(y);
        }
        if (x != y) return int{x} - int{y};
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::u16string_view part(std::u16string_view text, OString::Span span)
{
    if (span.isEmpty()) return {};
    return text.substr(static_cast<size_t>(span.from), static_cast<size_t>(span.count()));
}

} // namespace

int OString::indexOf(const OString& needle, Span span, CaseSensitivity cs) const
{
    checkSpan(span);
    return findForward(view(), span.from, span.to, Needle(needle.view(), cs));
}

int OString::lastIndexOf(const OString& needle, Span span, CaseSensitivity cs) const
{
    checkSpan(span);
    return findBackward(view(), span.from, span.to, Needle(needle.view(), cs));
}

int OString::countOf(const OString& needle, Span span, CaseSensitivity cs) const
{
    checkSpan(span);
    const Needle prepared(needle.view(), cs);
    int count = 0;
    for (int i = findForward(view(), span.from, span.to, prepared); i >= 0;
         i = findForward(view(), i + prepared.length(), span.to, prepared))
        ++count;
    return count;
}

char16_t OString::mostFrequentChar(Span span, CaseSensitivity cs) const
{
    checkSpan(span);
    if (span.isEmpty()) throwError(kDataFormat);
    auto unitAt = [&](int i) {
        return cs == CaseSensitive ? m_data->units[i] : toLowerUnit(m_data->units[i]);
    };
    std::unordered_map<char16_t, int> counts;
    int best = 0;
    for (int i = span.from; i <= span.to; ++i)
        best = std::max(best, ++counts[unitAt(i)]);
    // Ties go to the unit met first from the start of the span.
    for (int i = span.from;; ++i) {
        if (counts[unitAt(i)] == best) return unitAt(i);
    }
}

bool OString::startsWith(const OString& needle, CaseSensitivity cs) const
{
    const int n = needle.length();
    if (n == 0 || n > length()) return false;
    return compareUnits(view().substr(0, static_cast<size_t>(n)), needle.view(), cs) == 0;
}

bool OString::endsWith(const OString& needle, CaseSensitivity cs) const
{
    const int n = needle.length();
    if (n == 0 || n > length()) return false;
    return compareUnits(view().substr(static_cast<size_t>(length() - n)), needle.view(), cs) == 0;
}

int OString::compare(const OString& other, CaseSensitivity cs) const
{
    if (sharesBlockWith(other)) return 0;
    return compareUnits(view(), other.view(), cs);
}

int OString::compare(Span span, const OString& other, CaseSensitivity cs) const
{
    checkSpan(span);
    return compareUnits(part(view(), span), other.view(), cs);
}

bool OString::equals(const OString& other, CaseSensitivity cs) const
{
    return length() == other.length() && compare(other, cs) == 0;
}

bool OString::equals(Span span, const OString& other, CaseSensitivity cs) const
{
    if (other.isEmpty()) throwError(kInvalidArgument);
    checkSpan(span);
    const std::u16string_view text = part(view(), span);
    return text.size() == other.view().size() && compareUnits(text, other.view(), cs) == 0;
}

void OString::removeFirst(const OString& needle, Span span, CaseSensitivity cs)
{
    replaceFirst(needle, OString(), span, cs);
}

void OString::removeLast(const OString& needle, Span span, CaseSensitivity cs)
{
    replaceLast(needle, OString(), span, cs);
}

void OString::removeAll(const OString& needle, Span span, CaseSensitivity cs)
{
    replaceAll(needle, OString(), span, cs);
}

void OString::replaceFirst(const OString& needle, const OString& replacement, Span span,
                           CaseSensitivity cs)
{
    const int at = indexOf(needle, span, cs);
    if (at >= 0) replaceUnits(at, needle.length(), replacement.view());
}

void OString::replaceLast(const OString& needle, const OString& replacement, Span span,
                          CaseSensitivity cs)
{
    const int at = lastIndexOf(needle, span, cs);
    if (at >= 0) replaceUnits(at, needle.length(), replacement.view());
}

void OString::replaceAll(const OString& needle, const OString& replacement, Span span,
                         CaseSensitivity cs)
{
    checkSpan(span);
    const Needle prepared(needle.view(), cs);
    const std::vector<int> starts = findAll(view(), span.from, span.to, prepared);
    if (starts.empty()) return;
    const int64_t total = int64_t{length()} + int64_t(starts.size()) *
                                                  (int64_t{replacement.length()} - needle.length());
    if (total > kMaxLength) throwError(kInvalidArgument);
    const std::u16string_view text = view();
    std::u16string result;
    result.reserve(static_cast<size_t>(total));
    size_t done = 0;
    for (const int start : starts) {
        result.append(text.substr(done, static_cast<size_t>(start) - done));
        result.append(replacement.view());
        done = static_cast<size_t>(start + prepared.length());
    }
    result.append(text.substr(done));
    setUnits(result);
}

std::vector<OString> OString::split(const OString& separator, CaseSensitivity cs) const
{
    if (separator.isEmpty()) throwError(kInvalidArgument);
    std::vector<OString> pieces;
    const Needle prepared(separator.view(), cs);
    const std::u16string_view text = view();
    const int end = length() - 1;
    bool separatorSeen = false;
    int p = 0;
    while (p <= end) {
        const int i = findForward(text, p, end, prepared);
        if (i < 0) {
            if (separatorSeen) pieces.emplace_back(text.substr(static_cast<size_t>(p)));
            break;
        }
        separatorSeen = true;
        if (i > p)
            pieces.emplace_back(text.substr(static_cast<size_t>(p), static_cast<size_t>(i - p)));
        p = i + prepared.length();
    }
    return pieces;
}

} // namespace zelmo
