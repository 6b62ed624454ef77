// SPDX-License-Identifier: MIT
// Range operands of the array group: a (start, count) pair read from the stack is turned into
// a part of a vector, or rejected with RangeException. All arithmetic is 64-bit, so no start
// and count the application passes can wrap round into a part that looks valid.
#pragma once

#include <cstdint>

namespace zelmo {

// `count` elements from `first`; count 0 is the empty part.
struct ElementSpan {
    int64_t first = 0;
    int64_t count = 0;
};

// The general rule: count >= 0 selects start..start+count-1, a negative count selects start to
// the last element; the result must lie inside 0..length-1, except the empty part at 0
// ((0, 0), or (0, negative) on an empty vector). Anything else, a negative start included,
// raises RangeException with an empty message.
ElementSpan resolveRange(int32_t start, int32_t count, int64_t length);

// The rule of replaceOrInsertRange and subvector, whose errors carry messages: a count of 0
// accepts any start that is not negative (a part that selects nothing), a positive count must
// end inside the vector, a negative count runs from start (at most length) to the end.
ElementSpan resolveCheckedRange(int32_t first, int32_t count, int64_t length);

} // namespace zelmo
