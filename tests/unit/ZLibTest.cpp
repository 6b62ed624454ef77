// SPDX-License-Identifier: MIT
// Compression round trips through several output buffers, and rejection of bad levels and of
// corrupt and cut-short input (the stream format itself is zlib's).
#include "Utility/ZLib.h"

#include <gtest/gtest.h>
#include <random>

using namespace zelmo;
using namespace zelmo::TARNEL;

namespace {

using Bytes = std::vector<signed char>;

Bytes randomBytes(size_t n)
{
    std::mt19937 random(1);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<signed char>(random());
    return out;
}

} // namespace

TEST(ZLib, RoundTripsAndRefusesBadLevelsAndBadInput)
{
    // Random bytes stored at level 0 fill many output buffers both ways.
    const Bytes input = randomBytes(70000);
    Bytes packed, out{1};
    for (const auto& [data, level] : {std::pair{Bytes{42}, -1}, {input, 0}}) {
        Bytes unpacked{9};
        ASSERT_TRUE(ZLib::compress(data, packed, level));
        EXPECT_TRUE(ZLib::unCompress(packed, unpacked));
        EXPECT_EQ(unpacked, data);
    }
    EXPECT_TRUE(ZLib::compress(Bytes{}, out, -1));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(ZLib::compress(Bytes{1}, out, 10));

    // `packed` now holds the random bytes.
    Bytes badChecksum = packed;
    badChecksum.back() ^= 1;
    EXPECT_FALSE(ZLib::unCompress(badChecksum, out));
    // A preset-dictionary request counts as bad data: header 0x78 0xbb announces one.
    EXPECT_FALSE(ZLib::unCompress(Bytes{0x78, static_cast<signed char>(0xbb), 0, 0, 0, 1}, out));
    // Cut short anywhere, including just before the checksum ends: false, never a hang.
    for (size_t keep : {size_t{1}, packed.size() / 2, packed.size() - 1})
        EXPECT_FALSE(ZLib::unCompress(Bytes(packed.begin(), packed.begin() + keep), out)) << keep;
    // Bytes after the end of the stream are not part of it.
    packed.push_back(5);
    EXPECT_TRUE(ZLib::unCompress(packed, out));
    EXPECT_EQ(out, input);
}
