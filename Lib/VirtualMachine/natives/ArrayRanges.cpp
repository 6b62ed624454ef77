// SPDX-License-Identifier: MIT
// The two range rules of the array group. The messages of the checked rule are part of what
// applications see and are kept exactly as they have always read, irregular spacing included.
#include "VirtualMachine/natives/ArrayRanges.h"

#include "Base/Errors.h"

#include <string>

namespace zelmo {

ElementSpan resolveRange(int32_t start, int32_t count, int64_t length)
{
    if (start < 0) throwError(kRange);
    const int64_t from = start;
    const int64_t to = count >= 0 ? from + count - 1 : length - 1;
    if (from == 0 && to == -1) return {0, 0};
    if (from > to || to >= length) throwError(kRange);
    return {from, to - from + 1};
}

ElementSpan resolveCheckedRange(int32_t first, int32_t count, int64_t length)
{
    if (count == 0) {
        if (first < 0)
            throwError(kRange, "Invalid Range, first should be non-negative (first=" +
                                   std::to_string(first) + ")");
        return {first, 0};
    }
    if (count > 0) {
        if (first < 0)
            throwError(kRange, "Invalid Range, first should not be less than" + std::to_string(0) +
                                   ", first =  " + std::to_string(first));
        const int64_t end = int64_t{first} + count;
        if (end > length)
            throwError(kRange, "Invalid Range, range out of bounds: " + std::to_string(end) +
                                   " > " + std::to_string(length));
        return {first, count};
    }
    if (first < 0)
        throwError(kRange, "Invalid Range, first should not be less than " + std::to_string(0) +
                               ", first = " + std::to_string(first));
    if (first > length)
        throwError(kRange, "Invalid Range, first should not be more than " +
                               std::to_string(length) + ", first = " + std::to_string(first));
    return {first, length - first};
}

} // namespace zelmo
