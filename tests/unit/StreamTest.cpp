// SPDX-License-Identifier: MIT
// The file streams against real files in a temporary directory, and the file reader's string
// and line reads in memory.
#include "FileTestSupport.h"
#include "IO/CAppsFileReader.h"
#include "IO/FileInputStream.h"
#include "IO/FileOutputStream.h"
#include "IO/MemoryInputStream.h"

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

// (The typed reads and writes and the slices have no caller in the runtime; the string and line
// reads are kept honest here.)
TEST(FileWrappers, ReadStringTakesAtMostWhatIsLeft)
{
    CAppsFileReader reader(std::make_unique<MemoryInputStream>(Bytes{'h', 0xe9, 'y', '!'}));
    std::u16string text = u"kept";
    EXPECT_FALSE(reader.readString(-1, text));
    EXPECT_FALSE(reader.readString(5, text)); // more than there is
    EXPECT_EQ(text, u"kept");
    EXPECT_TRUE(reader.readString(2, text));
    EXPECT_EQ(text, u"h\u00e9");
    EXPECT_TRUE(reader.readString(2, text)); // exactly what is left
    EXPECT_EQ(text, u"y!");
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
