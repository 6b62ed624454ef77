// SPDX-License-Identifier: MIT
// Size, position and seek on a C stdio file, shared by the file input and output streams.
// Each answers -1 (or false) on any failure, including a null file or a size beyond INT_MAX.
#pragma once

#include <climits>
#include <cstdint>
#include <cstdio>
#include <sys/types.h>

namespace zelmo::TARNEL {

inline int64_t stdioFileSize(FILE* file)
{
    if (!file) return -1;
    const off_t here = ::ftello(file);
    if (here < 0 || ::fseeko(file, 0, SEEK_END) != 0) return -1;
    const off_t end = ::ftello(file);
    if (::fseeko(file, here, SEEK_SET) != 0 || end < 0 || end > INT_MAX) return -1;
    return end;
}

inline int64_t stdioFilePosition(FILE* file)
{
    const off_t here = file ? ::ftello(file) : -1;
    return here < 0 || here > INT_MAX ? -1 : here;
}

// Seeks to `pos` from the start; refused beyond the end of the file.
inline bool stdioFileSeek(FILE* file, uint32_t pos)
{
    const int64_t size = stdioFileSize(file);
    return size >= 0 && pos <= size && ::fseeko(file, static_cast<off_t>(pos), SEEK_SET) == 0;
}

} // namespace zelmo::TARNEL
