// SPDX-License-Identifier: MIT
// The file streams against real files in a temporary directory, and the file reader's string
// and line reads in memory.
#include "FileTestSupport.h"
#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "IO/FileInputStream.h"
#include "IO/FileOutputStream.h"
#include "IO/MemoryInputStream.h"
#include "IO/MemoryOutputStream.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zelmo::TARNEL;
using zelmo::testing::fileBytes;

namespace {

using Bytes = std::vector<TUint8>;

class StreamFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::u16string path(const QString& name) const { return m_dir.filePath(name).toStdU16String(); }
    QByteArray get(const QString& name) const { return fileBytes(m_dir.filePath(name)); }

    QTemporaryDir m_dir;
};

// Reads lines until readLine() says there are no more.
std::vector<std::u16string> lines(const Bytes& bytes)
{
    CAppsFileReader reader(std::make_unique<MemoryInputStream>(bytes));
    std::vector<std::u16string> out;
    std::u16string line = u"unchanged";
    while (reader.readLine(line))
        out.push_back(line);
    EXPECT_EQ(line, out.empty() ? u"unchanged" : out.back()); // the final call leaves it alone
    return out;
}

} // namespace

// (Reading, seeking, reading past the end and closed readers are FileNatives' cases.)
TEST_F(StreamFiles, FileOutputSeeksKeepsContentsAndRefusesWhatCannotOpen)
{
    FileOutputStream out;
    EXPECT_FALSE(out.open(u"relative/file.txt"));
    ASSERT_TRUE(out.open(path("new/deeper/file.bin")));
    EXPECT_TRUE(out.write(reinterpret_cast<const TUint8*>("abcd"), 4));
    EXPECT_TRUE(out.seek(4));
    EXPECT_FALSE(out.seek(5));
    EXPECT_TRUE(out.seek(1));
    EXPECT_TRUE(out.writeByte('B'));
    EXPECT_EQ(out.size(), 4);
    EXPECT_TRUE(out.closeChecked());
    EXPECT_EQ(get("new/deeper/file.bin"), "aBcd");
    EXPECT_FALSE(out.writeByte('x'));

    // Keeping: old bytes first, position at their end.
    ASSERT_TRUE(out.open(path("new/deeper/file.bin"), FileOutputStream::Mode::KeepContents));
    EXPECT_EQ(out.position(), 4);
    EXPECT_TRUE(out.seek(0));
    EXPECT_TRUE(out.writeByte('A'));
    out.close();
    EXPECT_EQ(get("new/deeper/file.bin"), "ABcd");

    // A stream dropped without close (as when a holder's entry is released) keeps its bytes.
    auto dropped = std::make_unique<FileOutputStream>();
    ASSERT_TRUE(dropped->open(path("dropped.txt")));
    EXPECT_TRUE(dropped->writeByte('k'));
    dropped.reset();
    EXPECT_EQ(get("dropped.txt"), "k");

    // A directory of that name, or a file where a parent directory should be, cannot open.
    EXPECT_FALSE(out.open(path("new")));
    EXPECT_FALSE(out.open(path("new/deeper/file.bin/child")));
}

TEST_F(StreamFiles, FileOutputReportsAFullDeviceInsteadOfSucceedingSilently)
{
    FileOutputStream out;
    ASSERT_TRUE(out.open(u"/dev/full"));
    EXPECT_TRUE(out.write(reinterpret_cast<const TUint8*>("lost"), 4)); // still in the buffer
    EXPECT_FALSE(out.flush());
    EXPECT_FALSE(out.writeByte('x')); // the error sticks
    EXPECT_FALSE(out.write(reinterpret_cast<const TUint8*>("x"), 1));
    EXPECT_FALSE(out.closeChecked());

    // Data still buffered at close time shows up in closeChecked()'s answer.
    ASSERT_TRUE(out.open(u"/dev/full", FileOutputStream::Mode::KeepContents));
    EXPECT_TRUE(out.writeByte('x'));
    EXPECT_FALSE(out.closeChecked());
}

TEST_F(StreamFiles, NamedPipesDoNotHangOpening)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_dir.filePath("pipe")).constData(), 0600), 0);
    FileOutputStream out;
    EXPECT_FALSE(out.open(path("pipe"))); // nobody reads it
    FileInputStream in;
    ASSERT_TRUE(in.open(path("pipe"))); // nobody writes it: no data, but no wait either
    EXPECT_EQ(in.readByte(), -1);
}

TEST(FileWrappers, IntegersAreBigEndianBothWays)
{
    auto* sink = new MemoryOutputStream;
    CAppsFileWriter writer{std::unique_ptr<OutputStream>(sink)};
    EXPECT_TRUE(writer.writeInt32(16909060));
    EXPECT_TRUE(writer.writeInt16(-2));
    EXPECT_TRUE(writer.writeInt64(0x0102030405060708LL));
    EXPECT_TRUE(writer.writeUint8(0x80));
    EXPECT_TRUE(writer.writeInt32(-1));
    const Bytes expected{1, 2, 3, 4, 0xff, 0xfe, 1,    2,    3,   4,
                         5, 6, 7, 8, 0x80, 0xff, 0xff, 0xff, 0xff};
    ASSERT_EQ(*sink->bytes(), expected);

    CAppsFileReader reader(std::make_unique<MemoryInputStream>(expected));
    int32_t i32 = 0;
    uint16_t u16 = 0;
    int64_t i64 = 0;
    uint8_t u8 = 0;
    EXPECT_TRUE(reader.readInt32(i32));
    EXPECT_EQ(i32, 16909060);
    EXPECT_TRUE(reader.readUint16(u16));
    EXPECT_EQ(u16, 0xfffe); // unsigned
    EXPECT_TRUE(reader.readInt64(i64));
    EXPECT_EQ(i64, 0x0102030405060708LL);
    EXPECT_TRUE(reader.readUint8(u8));
    EXPECT_EQ(u8, 0x80);
    EXPECT_FALSE(reader.readInt64(i64)); // four bytes left: the target stays as it was
    EXPECT_EQ(i64, 0x0102030405060708LL);

    CAppsFileReader none(std::unique_ptr<InputStream>{});
    EXPECT_FALSE(none.isOpen());
    EXPECT_FALSE(none.readInt32(i32));
    EXPECT_EQ(none.size(), 0);
    EXPECT_TRUE(none.isEof());
    CAppsFileWriter noWriter(std::unique_ptr<OutputStream>{});
    EXPECT_FALSE(noWriter.writeInt32(1));
    EXPECT_FALSE(noWriter.writeByteBufferToFile(expected.data(), 1));
}

TEST(FileWrappers, SlicesAndStrings)
{
    auto* sink = new MemoryOutputStream;
    CAppsFileWriter writer{std::unique_ptr<OutputStream>(sink)};
    const Bytes source{10, 11, 12, 13};
    EXPECT_TRUE(writer.writeSlice(source, 99, 0)); // count 0: done before anything is checked
    EXPECT_FALSE(writer.writeSlice(source, -1, 1));
    EXPECT_FALSE(writer.writeSlice(source, 3, 2));
    EXPECT_FALSE(writer.writeSlice(source, 5, -1));
    EXPECT_FALSE(writer.writeSlice(source, 0x7fffffff, 0x7fffffff)); // must not wrap round
    EXPECT_TRUE(sink->bytes()->empty());
    EXPECT_TRUE(writer.writeSlice(source, 1, 2));
    EXPECT_TRUE(writer.writeSlice(source, 2, -1)); // negative count: up to the end
    EXPECT_TRUE(writer.writeSlice(source, 4, -1)); // an empty tail
    EXPECT_TRUE(writer.writeString(u"A\u0142\u00ff"));
    EXPECT_FALSE(writer.writeByteBufferToFile(source.data(), -1));
    EXPECT_EQ(*sink->bytes(), (Bytes{11, 12, 12, 13, 'A', 0x42, 0xff}));

    CAppsFileReader reader(std::make_unique<MemoryInputStream>(Bytes{'h', 0xe9, 'y', '!'}));
    std::u16string text = u"kept";
    EXPECT_FALSE(reader.readString(-1, text));
    EXPECT_FALSE(reader.readString(5, text)); // more than there is
    EXPECT_EQ(text, u"kept");
    EXPECT_TRUE(reader.readString(2, text));
    EXPECT_EQ(text, u"h\u00e9");
    CAppsFileReader exact(std::make_unique<MemoryInputStream>(Bytes{'h', 'i'}));
    EXPECT_TRUE(exact.readString(2, text)); // exactly what is left
    EXPECT_EQ(text, u"hi");
    Bytes rest;
    EXPECT_TRUE(reader.readRest(rest));
    EXPECT_EQ(rest, (Bytes{'y', '!'}));
    EXPECT_TRUE(reader.readRest(rest));
    EXPECT_TRUE(rest.empty());
}

TEST(FileWrappers, ReadLineSplitsOnLineFeedAndCarriageReturn)
{
    // The byte after a CR is always swallowed, whatever it is.
    EXPECT_EQ(lines({'X', 13, 'Y', 'Z'}), (std::vector<std::u16string>{u"X", u"Z"}));
    EXPECT_EQ(lines({'X', 13, 10, 'Y'}), (std::vector<std::u16string>{u"X", u"Y"}));
    EXPECT_EQ(lines({'a', 10, 10, 'b', ' ', 'c', 10}),
              (std::vector<std::u16string>{u"a", u"", u"b c"}));
    EXPECT_EQ(lines({1, 2, 9, 31}), (std::vector<std::u16string>{u""}));
    EXPECT_EQ(lines({'a', 9, 0xe9, 0xff, 'b'}), (std::vector<std::u16string>{u"a\u00e9\u00ffb"}));
    EXPECT_EQ(lines({'z', 13}), (std::vector<std::u16string>{u"z"}));
    EXPECT_TRUE(lines({}).empty());
}
