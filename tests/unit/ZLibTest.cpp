// SPDX-License-Identifier: MIT
// Compression round trips at every level, and rejection of corrupt and cut-short input, for
// byte vectors and for a slice of a file inflated into another file.
#include "Utility/ZLib.h"
#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "IO/MemoryInputStream.h"
#include "IO/MemoryOutputStream.h"

#include <QTemporaryDir>

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

std::vector<TUint8> unsignedBytes(const Bytes& in)
{
    return {in.begin(), in.end()};
}

// Inflates `slice` (placed after a 3-byte prefix and before a suffix) from a reader into a
// memory writer; returns the result and what was written.
std::pair<bool, Bytes> inflateSlice(const Bytes& slice, int length, int chunk)
{
    std::vector<TUint8> file = unsignedBytes(Bytes{-86, -69, -52});
    for (signed char b : slice)
        file.push_back(static_cast<TUint8>(b));
    file.push_back(0xee);
    CAppsFileReader reader(std::make_unique<MemoryInputStream>(file));
    EXPECT_TRUE(reader.seek(3));
    auto* sink = new MemoryOutputStream;
    CAppsFileWriter writer{std::unique_ptr<OutputStream>(sink)};
    const bool ok = ZLib::unCompress(reader, writer, length, chunk);
    return {ok, Bytes(sink->bytes()->begin(), sink->bytes()->end())};
}

} // namespace

TEST(ZLib, EmptyInputIsEmptyOutputBothWays)
{
    Bytes out{1, 2};
    EXPECT_TRUE(ZLib::compress({}, out, 9));
    EXPECT_TRUE(out.empty());
    out = {1, 2};
    EXPECT_TRUE(ZLib::unCompress({}, out)); // no header needed for nothing
    EXPECT_TRUE(out.empty());
}

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

TEST(ZLib, FileSliceInflatesInChunks)
{
    const Bytes input = repetitiveBytes(40000);
    const Bytes packed = compressed(input, 6);
    const int length = static_cast<int>(packed.size());
    for (int chunk : {1, 7, 2048, 1 << 20}) {
        SCOPED_TRACE(chunk);
        const auto [ok, out] = inflateSlice(packed, length, chunk);
        EXPECT_TRUE(ok);
        EXPECT_EQ(out, input);
    }
    EXPECT_EQ(inflateSlice(packed, 0, 16), std::make_pair(true, Bytes{}));
    EXPECT_FALSE(inflateSlice(packed, length + 2, 16).first); // only length + 1 bytes remain
    EXPECT_FALSE(inflateSlice(packed, -1, 16).first);
    EXPECT_FALSE(inflateSlice(packed, length, 0).first);
    EXPECT_FALSE(inflateSlice(packed, length - 5, 64).first); // the stream's end is cut off
    Bytes corrupt = packed;
    corrupt[length / 2] ^= 0x55;
    corrupt.back() ^= 1;
    EXPECT_FALSE(inflateSlice(corrupt, length, 64).first);
}

TEST(ZLib, FileSliceNeedsOpenStreamsAndAWorkingWriter)
{
    const Bytes packed = compressed(repetitiveBytes(5000));
    const auto file = unsignedBytes(packed);
    const int length = static_cast<int>(packed.size());

    CAppsFileWriter writer{std::make_unique<MemoryOutputStream>()};
    CAppsFileReader noReader(std::unique_ptr<InputStream>{});
    EXPECT_FALSE(ZLib::unCompress(noReader, writer, length, 64));

    CAppsFileReader reader(std::make_unique<MemoryInputStream>(file));
    auto* closedSink = new MemoryOutputStream;
    closedSink->close();
    CAppsFileWriter closedWriter{std::unique_ptr<OutputStream>(closedSink)};
    EXPECT_FALSE(ZLib::unCompress(reader, closedWriter, length, 64));

    // A writer that refuses bytes (its position is past its end) fails the whole operation.
    auto* gap = new MemoryOutputStream;
    gap->seek(10);
    CAppsFileWriter gapWriter{std::unique_ptr<OutputStream>(gap)};
    EXPECT_FALSE(ZLib::unCompress(reader, gapWriter, length, 64));

    // Through real files.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::u16string packedPath = dir.filePath("packed").toStdU16String();
    {
        CAppsFileWriter out(packedPath);
        ASSERT_TRUE(out.writeByteBufferToFile(file.data(), length));
    }
    CAppsFileReader in(packedPath);
    CAppsFileWriter out(dir.filePath("plain").toStdU16String());
    ASSERT_TRUE(ZLib::unCompress(in, out, length, 100));
    EXPECT_TRUE(out.closeChecked());
    CAppsFileReader plain(dir.filePath("plain").toStdU16String());
    std::vector<TUint8> rest;
    ASSERT_TRUE(plain.readRest(rest));
    EXPECT_EQ(Bytes(rest.begin(), rest.end()), repetitiveBytes(5000));
}
