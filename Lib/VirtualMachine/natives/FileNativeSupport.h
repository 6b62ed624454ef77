// SPDX-License-Identifier: MIT
// Pieces shared by the file, stream and file-system native groups: string arguments, the
// seek/position/size operations that readers and writers have in common, and the range check
// of writeRange.
#pragma once

#include <cstdint>
#include <string>

namespace zelmo {

class VirtualMachine;

namespace FileNatives {

// The text of the string value arg(k); a null string raises "NULL pointer".
std::u16string stringArg(VirtualMachine& vm, int k);

// Operations 2 (seek), 3 (position) and 4 (size) of the FileReader and FileWriter groups, for
// holders of the given type id. Checks in this order: a negative position (seek only), no
// holder, the wrong type id, a stream that is not open; then the stream operation.
void seekPositionOrSize(VirtualMachine& vm, int operation, int32_t typeId);

// The number of elements selected by (first, count) in an array of `length` elements; a
// negative count means up to the end. Violations raise RangeException with the range-check
// messages of the array natives.
int32_t checkedRangeCount(int32_t first, int32_t count, int32_t length);

} // namespace FileNatives
} // namespace zelmo
