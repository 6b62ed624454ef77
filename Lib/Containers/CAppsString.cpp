// SPDX-License-Identifier: MIT
// Construction and conversion of CAppsString.
#include "Containers/CAppsString.h"

#include <algorithm>
#include <cstring>

namespace zelmo {

namespace {

template <class Unit> int unitCount(const Unit* text)
{
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    if (n > static_cast<size_t>(INT32_MAX - 10)) throwError(kInvalidArgument);
    return static_cast<int>(n);
}

} // namespace

CAppsString::CAppsString(const char* latin1)
{
    if (!latin1) throwError(kNullPointer);
    const int n = unitCount(latin1);
    reserve(n + 10);
    for (int i = 0; i < n; ++i)
        append(static_cast<unsigned short>(static_cast<unsigned char>(latin1[i])));
}

CAppsString::CAppsString(const unsigned short* text)
{
    if (!text) throwError(kNullPointer);
    const int n = unitCount(text);
    reserve(n);
    for (int i = 0; i < n; ++i)
        append(text[i]);
}

CAppsString::CAppsString(const char16_t* text)
    : CAppsString(reinterpret_cast<const unsigned short*>(text))
{
}

CAppsString::CAppsString(const unsigned char* bytes, int count)
{
    if (count < 0) throwError(kInvalidArgument);
    if (count > 0 && !bytes) throwError(kNullPointer);
    reserve(count);
    for (int i = 0; i < count; ++i)
        append(static_cast<unsigned short>(bytes[i]));
}

CAppsString::CAppsString(std::u16string_view text)
{
    append(text);
}

CAppsString::CAppsString(int32_t value) : CAppsString(int64_t{value}) {}

CAppsString::CAppsString(int64_t value)
{
    // The magnitude of the most negative value does not fit the signed type; take it unsigned.
    const bool negative = value < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : value;
    appendDigits(magnitude, 10, negative);
}

CAppsString::CAppsString(uint32_t value, int radix)
{
    if (radix < 2 || radix > 36) throwError(kInvalidArgument);
    appendDigits(value, radix, false);
}

void CAppsString::appendDigits(uint64_t magnitude, int radix, bool negative)
{
    char digits[72];
    int n = 0;
    do {
        const int digit = static_cast<int>(magnitude % radix);
        digits[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= radix;
    } while (magnitude != 0);
    makeRoom(n + 1);
    if (negative) append(static_cast<unsigned short>('-'));
    while (n > 0)
        append(static_cast<unsigned short>(digits[--n]));
}

void CAppsString::makeRoom(uint64_t extra)
{
    const uint64_t needed = uint64_t(size()) + extra;
    if (needed > INT32_MAX) throwError(kInvalidArgument);
    if (needed > uint64_t(capacity())) {
        // Keep repeated appends amortised: never grow by less than the usual step.
        const uint64_t step = uint64_t(size()) * 5 / 4 + 8;
        reserve(static_cast<int>(std::min<uint64_t>(std::max(needed, step), INT32_MAX)));
    }
}

CAppsString& CAppsString::append(const CAppsString& other)
{
    if (&other == this) {
        const CAppsString copy(*this);
        return append(copy.view());
    }
    return append(other.view());
}

CAppsString& CAppsString::append(std::u16string_view text)
{
    makeRoom(text.size());
    for (char16_t unit : text)
        append(static_cast<unsigned short>(unit));
    return *this;
}

CAppsString& CAppsString::append(const char* latin1)
{
    if (!latin1) throwError(kNullPointer);
    const size_t n = std::strlen(latin1);
    makeRoom(n);
    for (size_t i = 0; i < n; ++i)
        append(static_cast<unsigned short>(static_cast<unsigned char>(latin1[i])));
    return *this;
}

std::string CAppsString::toUtf8() const
{
    return zelmo::toUtf8(view());
}

CAppsString operator+(const CAppsString& left, const CAppsString& right)
{
    CAppsString result(left);
    result.append(right);
    return result;
}

} // namespace zelmo
