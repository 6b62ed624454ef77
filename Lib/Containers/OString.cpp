// SPDX-License-Identifier: MIT
// OString's text blocks: sharing, copy on write, the capacity rules, and the editing
// primitives every in-place operation is built on.
//
// Block rules: a new block for n units has capacity max(10, floor(n * 1.2)). An edit of a
// shared block builds a new block (copy on write). An unshared block is edited in place; when
// the result does not fit, the block first grows to the capacity a new block would get. A result
// shorter than the text it replaces stays in place only while it is longer than half the
// capacity, otherwise it moves to a fresh block of its own size so that large removals give
// memory back. An empty result releases the block.
#include "Containers/OString.h"

#include "Base/Errors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace zelmo {

namespace {

// A block is one allocation: the header, then capacity + 1 code units. Only the unit after
// the text needs to be 0; the rest is written before it is read.
size_t blockBytes(int capacity)
{
    return sizeof(OStringData) + (static_cast<size_t>(capacity) + 1) * sizeof(char16_t);
}

OStringData* newBlock(int length)
{
    const int capacity = OString::capacityFor(length);
    void* memory = std::malloc(blockBytes(capacity));
    if (!memory) throwError(kInvalidArgument);
    auto* block = new (memory) OStringData;
    block->units = reinterpret_cast<char16_t*>(block + 1);
    block->capacity = capacity;
    block->units[0] = 0;
    return block;
}

// Gives an unshared block room for `length` units, keeping its text. The allocator can often
// extend a large block where it lies, so growing text unit by unit copies little.
OStringData* growBlock(OStringData* block, int length)
{
    const int capacity = OString::capacityFor(length);
    void* memory = std::realloc(block, blockBytes(capacity));
    if (!memory) throwError(kInvalidArgument);
    auto* grown = static_cast<OStringData*>(memory);
    grown->units = reinterpret_cast<char16_t*>(grown + 1);
    grown->capacity = capacity;
    return grown;
}

void freeBlock(OStringData* block)
{
    std::free(block);
}

// Lengths come from guest values (counts, repeat factors): check them in 64 bits.
int checkedLength(int64_t length)
{
    if (length < 0 || length > OString::kMaxLength) throwError(kInvalidArgument);
    return static_cast<int>(length);
}

bool pointsInto(const OStringData* block, const char16_t* p)
{
    return block && p >= block->units && p <= block->units + block->capacity;
}

} // namespace

int OString::capacityFor(int n)
{
    return std::max(10, static_cast<int>(std::floor(static_cast<double>(n) * 1.2)));
}

OString::OString(const OString& other) : GCObject(), m_data(other.m_data)
{
    if (m_data) ++m_data->refCount;
}

OString& OString::operator=(const OString& other)
{
    if (m_data == other.m_data) return *this;
    release();
    m_data = other.m_data;
    if (m_data) ++m_data->refCount;
    return *this;
}

OString::OString(std::u16string_view text)
{
    assign(text);
}

OString::~OString()
{
    release();
}

void OString::release()
{
    if (m_data && --m_data->refCount == 0) freeBlock(m_data);
    m_data = nullptr;
}

void OString::detach(int needed)
{
    if (m_data && m_data->refCount == 1 && needed <= m_data->capacity) return;
    OStringData* block = newBlock(needed);
    const int keep = std::min(length(), needed);
    if (keep > 0) std::copy(units(), units() + keep, block->units);
    block->length = keep;
    release();
    m_data = block;
    m_data->refCount = 1;
}

void OString::checkSpan(Span span) const
{
    if (span.isEmpty()) return;
    if (span.from < 0 || span.from > span.to || span.to >= length()) throwError(kRange);
}

char16_t OString::charAt(int index) const
{
    if (index < 0 || index >= length()) throwError(kIndexOutOfBounds);
    return m_data->units[index];
}

void OString::setUnits(std::u16string_view result)
{
    const int newLength = checkedLength(static_cast<int64_t>(result.size()));
    if (newLength == 0) {
        release();
        return;
    }
    const int oldLength = length();
    const bool inPlace =
        m_data && m_data->refCount == 1 && newLength <= m_data->capacity &&
        (newLength >= oldLength ||
         static_cast<float>(newLength) > static_cast<float>(m_data->capacity) * 0.5f);
    if (inPlace) {
        std::memmove(m_data->units, result.data(), result.size() * sizeof(char16_t));
    } else {
        OStringData* block = newBlock(newLength);
        std::copy(result.begin(), result.end(), block->units);
        release();
        m_data = block;
        m_data->refCount = 1;
    }
    m_data->length = newLength;
    m_data->units[newLength] = 0;
}

void OString::replaceUnits(int position, int removed, std::u16string_view inserted)
{
    const int oldLength = length();
    const int newLength = checkedLength(int64_t{oldLength} - removed + int64_t(inserted.size()));
    if (newLength == 0) {
        release();
        return;
    }
    std::u16string aliasCopy;
    if (pointsInto(m_data, inserted.data())) {
        aliasCopy.assign(inserted);
        inserted = aliasCopy;
    }
    const int insertedCount = static_cast<int>(inserted.size());
    const int tail = oldLength - position - removed;
    if (m_data && m_data->refCount == 1 && newLength > m_data->capacity)
        m_data = growBlock(m_data, newLength);
    const bool inPlace =
        m_data && m_data->refCount == 1 && newLength <= m_data->capacity &&
        (newLength >= oldLength ||
         static_cast<float>(newLength) > static_cast<float>(m_data->capacity) * 0.5f);
    if (inPlace) {
        char16_t* u = m_data->units;
        if (insertedCount != removed && tail > 0)
            std::memmove(u + position + insertedCount, u + position + removed,
                         static_cast<size_t>(tail) * sizeof(char16_t));
        std::copy(inserted.begin(), inserted.end(), u + position);
    } else {
        OStringData* block = newBlock(newLength);
        const char16_t* u = units();
        std::copy(u, u + position, block->units);
        std::copy(inserted.begin(), inserted.end(), block->units + position);
        std::copy(u + position + removed, u + oldLength, block->units + position + insertedCount);
        release();
        m_data = block;
        m_data->refCount = 1;
    }
    m_data->length = newLength;
    m_data->units[newLength] = 0;
}

void OString::assign(std::u16string_view text)
{
    if (text.empty()) {
        release();
        return;
    }
    // Never edit a block another string shares, and never overwrite our own source.
    if (!m_data || m_data->refCount != 1 || static_cast<int>(text.size()) > m_data->capacity ||
        pointsInto(m_data, text.data())) {
        OStringData* block = newBlock(checkedLength(static_cast<int64_t>(text.size())));
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
    if (!text.empty()) replaceUnits(length(), 0, text);
}

void OString::appendToNewBlock(char16_t c)
{
    replaceUnits(length(), 0, std::u16string_view(&c, 1));
}

void OString::insertTo(int at, const OString& other, Span span)
{
    other.checkSpan(span);
    if (span.isEmpty()) return;
    if (at < 0 || at > length()) throwError(kIndexOutOfBounds);
    replaceUnits(
        at, 0,
        other.view().substr(static_cast<size_t>(span.from), static_cast<size_t>(span.count())));
}

void OString::removeRange(Span span)
{
    checkSpan(span);
    if (!span.isEmpty()) replaceUnits(span.from, span.count(), {});
}

void OString::removeCharAt(int index)
{
    if (index < 0 || index >= length()) throwError(kIndexOutOfBounds);
    replaceUnits(index, 1, {});
}

void OString::removeFirstChars(int count)
{
    if (count < 0 || count > length()) throwError(kInvalidArgument);
    if (count > 0) replaceUnits(0, count, {});
}

void OString::removeLastChars(int count)
{
    if (count < 0 || count > length()) throwError(kInvalidArgument);
    if (count > 0) replaceUnits(length() - count, count, {});
}

void OString::replaceRange(Span span, const OString& replacement)
{
    checkSpan(span);
    if (!span.isEmpty()) replaceUnits(span.from, span.count(), replacement.view());
}

void OString::repeat(int times)
{
    if (times < 0) throwError(kInvalidArgument);
    if (times == 1) return;
    const OString source(*this); // keeps the text alive while this string changes
    const std::u16string_view text = source.view();
    const int total = checkedLength(int64_t{source.length()} * times);
    std::u16string result;
    result.reserve(static_cast<size_t>(total));
    for (int i = 0; i < times; ++i)
        result.append(text);
    setUnits(result);
}

OString OString::fromLatin1(std::string_view text, int startIndex)
{
    if (startIndex < 0 || static_cast<size_t>(startIndex) > text.size())
        throwError(kIndexOutOfBounds);
    text.remove_prefix(static_cast<size_t>(startIndex));
    std::u16string units(text.size(), u'\0');
    std::transform(text.begin(), text.end(), units.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return OString(units);
}

OString OString::filled(char16_t c, int count)
{
    if (count < 0) throwError(kInvalidArgument);
    return OString(std::u16string(static_cast<size_t>(checkedLength(count)), c));
}

OString OString::concat(const OString& a, const OString& b)
{
    if (b.isEmpty()) return a;
    if (a.isEmpty()) return b;
    OString result;
    result.m_data = newBlock(checkedLength(int64_t{a.length()} + b.length()));
    result.m_data->refCount = 1;
    std::copy(a.units(), a.units() + a.length(), result.m_data->units);
    std::copy(b.units(), b.units() + b.length(), result.m_data->units + a.length());
    result.m_data->length = a.length() + b.length();
    result.m_data->units[result.m_data->length] = 0;
    return result;
}

OString OString::repeated(int times) const
{
    OString result(*this);
    result.repeat(times);
    return result;
}

OString OString::substring(Span span) const
{
    checkSpan(span);
    if (span.from == 0 && span.to == length() - 1) return *this;
    return OString(
        view().substr(static_cast<size_t>(span.from), static_cast<size_t>(span.count())));
}

OString OString::stepped(Span span, int step) const
{
    if (step < 1) throwError(kInvalidArgument);
    checkSpan(span);
    std::u16string result;
    if (!span.isEmpty()) {
        result.reserve(static_cast<size_t>(span.count() / step + 1));
        for (int64_t i = span.from; i <= span.to; i += step)
            result.push_back(m_data->units[i]);
    }
    return OString(result);
}

} // namespace zelmo
