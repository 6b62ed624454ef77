// SPDX-License-Identifier: MIT
// Compression round trips at every level, and rejection of corrupt and cut-short input.
#include "Utility/ZLib.h"

#include <gtest/gtest.h>
#include <random>

using namespace zelmo;
using namespace zelmo::TARNEL;

namespace {

using Bytes = std::vector<signed char>;

Bytes randomBytes(size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<signed char>(random());
    return out;
}

Bytes repetitiveBytes(size_t n)
{
    Bytes out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<signed char>("zelmo runtime "[i % 14] + (i / 5000) % 3);
    return out;
}

Bytes compressed(const Bytes& in, int level = -1)
{
    Bytes out;
    EXPECT_TRUE(ZLib::compress(in, out, level));
    return out;
}

} // namespace

TEST(ZLib, RoundTripsAtEveryLevel)
{
    const std::vector<Bytes> inputs{Bytes{42}, randomBytes(70000, 1), repetitiveBytes(300000)};
    for (int level = -1; level <= 9; ++level) {
        for (const Bytes& input : inputs) {
            SCOPED_TRACE("level " + std::to_string(level) + ", " + std::to_string(input.size()));
            const Bytes packed = compressed(input, level);
            ASSERT_GE(packed.size(), 2u);
            EXPECT_EQ(static_cast<unsigned char>(packed[0]) & 0x0f, 8); // deflate, zlib header
            Bytes unpacked{9};
            EXPECT_TRUE(ZLib::unCompress(packed, unpacked));
            EXPECT_EQ(unpacked, input);
        }
    }
    EXPECT_LT(compressed(repetitiveBytes(300000), 9).size(), 10000u);
    EXPECT_GT(compressed(randomBytes(70000, 1), 0).size(), 70000u); // level 0 stores
    Bytes out;
    EXPECT_FALSE(ZLib::compress(Bytes{1}, out, 10));
    EXPECT_FALSE(ZLib::compress(Bytes{1}, out, -2));
}

TEST(ZLib, CorruptAndTruncatedInputIsRejected)
{
    const Bytes input = repetitiveBytes(50000);
    const Bytes packed = compressed(input);
    Bytes out;

    Bytes badHeader = packed;
    badHeader[0] = 0x79;
    EXPECT_FALSE(ZLib::unCompress(badHeader, out));
    Bytes badChecksum = packed;
    badChecksum.back() ^= 1;
    EXPECT_FALSE(ZLib::unCompress(badChecksum, out));
    EXPECT_FALSE(ZLib::unCompress(Bytes{'n', 'o', 't', ' ', 'z'}, out));
    // A preset-dictionary request counts as bad data: header 0x78 0xbb announces one.
    EXPECT_FALSE(ZLib::unCompress(Bytes{0x78, static_cast<signed char>(0xbb), 0, 0, 0, 1}, out));

    // Cut short anywhere, including just before the checksum ends: false, never a hang.
    for (size_t keep : {size_t{1}, size_t{2}, size_t{3}, packed.size() / 2, packed.size() - 4,
                        packed.size() - 1}) {
        SCOPED_TRACE(keep);
        EXPECT_FALSE(ZLib::unCompress(Bytes(packed.begin(), packed.begin() + keep), out));
    }
    // Bytes after the end of the stream are not part of it.
    Bytes trailing = packed;
    trailing.push_back(5);
    EXPECT_TRUE(ZLib::unCompress(trailing, out));
    EXPECT_EQ(out, input);
}
