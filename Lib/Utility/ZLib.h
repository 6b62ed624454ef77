// SPDX-License-Identifier: MIT
// Compression with zlib (deflate with the zlib header): whole byte vectors, and a slice of a
// file inflated into another file. Failures come back as false; `out` may then hold a part.
#pragma once

#include <vector>

namespace zelmo::TARNEL {
class CAppsFileReader;
class CAppsFileWriter;
} // namespace zelmo::TARNEL

namespace zelmo {

class ZLib {
public:
    static constexpr int kBufferSize = 2048;

    // level: 0..9, or -1 for zlib's default. An empty input gives an empty output.
    static bool compress(const std::vector<signed char>& in, std::vector<signed char>& out,
                         int level);
    // False for corrupt data and for data that ends before the compressed stream does.
    static bool unCompress(const std::vector<signed char>& in, std::vector<signed char>& out);
    // Inflates the next `length` bytes of `in` into `out`, reading and writing `chunk` bytes at
    // a time. Both must be open, length >= 0, chunk > 0 and `length` bytes must remain.
    static bool unCompress(TARNEL::CAppsFileReader& in, TARNEL::CAppsFileWriter& out, int length,
                           int chunk);
};

} // namespace zelmo
