// SPDX-License-Identifier: MIT
// The file native groups as a guest calls them: FileWriter and OutputStream write a file,
// FileReader and InputStream read it back, FileSystem changes the tree, Debug moves the log;
// paths are checked by the host, so one refused path per group is enough here.
#include "FileTestSupport.h"
#include "NativeCall.h"
#include "VirtualMachine/natives/StreamHolder.h"
#include "host/HostServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zelmo;
using zelmo::testing::fileBytes;
using zelmo::testing::putFile;

namespace {

constexpr int kOutput = 21, kWriter = 22, kInput = 23, kReader = 24, kFiles = 25, kDebug = 30;

class FileNatives : public zelmo::testing::NativeCall {
protected:
    FileNatives() { vm.setHost(&host); }
    int32_t exists(int op, std::u16string_view path)
    {
        call(kFiles, op, {str(path)});
        return stack().at(0);
    }

    QTemporaryDir root;
    QDir app{root.filePath("app")};
    bool made = QDir(root.path()).mkpath("app");
    HostServices host{app.absolutePath().toStdU16String()};
};

TEST_F(FileNatives, WriteReadBackAndChangeTheTree)
{
    const uint32_t out = block();
    call(kWriter, 1, {out, str(u"sub/a.bin"), 0});
    call(kOutput, 3, {out, bytes({1, 2, 3, 4, 5})});
    call(kWriter, 3, {out});
    EXPECT_EQ(stack(), std::vector<int32_t>{5});
    call(kOutput, 1, {out});
    call(kOutput, 2, {out});
    EXPECT_EQ(stack(), std::vector<int32_t>{0});
    call(kWriter, 1, {out, str(u"sub/a.bin"), 1}); // append
    call(kOutput, 4, {out, 1, 1, bytes({9, 8, 7})});
    call(kWriter, 4, {out});
    EXPECT_EQ(stack(), std::vector<int32_t>{6});
    // A type id forged to claim a reader finds no reader behind the holder's index.
    vm.storeWord(vm.loadWord(out), StreamHolder::FILE_READER_TYPE_ID);
    EXPECT_EQ(failure(kInput, 3, {out, 1}), kVMException);
    vm.storeWord(vm.loadWord(out), StreamHolder::FILE_WRITER_TYPE_ID);
    call(kOutput, 1, {out});
    EXPECT_EQ(fileBytes(app.filePath("sub/a.bin")), QByteArray("\1\2\3\4\5\x08"));

    const uint32_t in = block();
    call(kReader, 1, {in, str(u"sub/a.bin")});
    call(kInput, 3, {in, 6});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.arrayBytes(vm.argU(0)), (std::vector<uint8_t>{1, 2, 3, 4, 5, 8}));

    EXPECT_EQ(exists(1, u"sub/a.bin"), -1);
    EXPECT_EQ(exists(2, u"sub"), -1);
    call(kFiles, 8, {str(u"d")});
    call(kFiles, 7, {str(u"d/e")});
    call(kFiles, 6, {str(u"d")});
    EXPECT_EQ(vm.vectorLength(vm.memory().load32(vm.argU(0))), 1);
    call(kFiles, 9, {str(u"d/e"), str(u"d/f")});
    EXPECT_EQ(exists(1, u"d/e"), 0);
    call(kFiles, 3, {str(u"d/f")});
    call(kFiles, 4, {str(u"d")});
    EXPECT_EQ(exists(2, u"d"), 0);

    call(kDebug, 2, {str(u"trace.log")});
    call(kDebug, 1, {str(u"written")});
    EXPECT_TRUE(fileBytes(app.filePath("trace.log")).contains("written"));
}

TEST_F(FileNatives, RefusedPathsAndEmptyNames)
{
    const uint32_t out = block();
    EXPECT_EQ(failure(kWriter, 1, {out, str(u"../outside.txt"), 0}), kIO);
    EXPECT_FALSE(QFile::exists(root.filePath("outside.txt")));
    EXPECT_EQ(vm.loadWord(out), 0u);
    EXPECT_EQ(failure(kReader, 1, {out, str(u"../app/missing")}), kIO);
    EXPECT_EQ(failure(kWriter, 1, {out, str(u""), 0}), kInvalidArgument);
    EXPECT_EQ(errorText(), "InvalidArgumentException: Filename is empty");
    EXPECT_EQ(failure(kOutput, 3, {out, bytes({1})}), kIO);
    EXPECT_EQ(errorText(), "IOException: File is not open");
    EXPECT_EQ(failure(kFiles, 3, {str(u"")}), kInvalidArgument);
    EXPECT_EQ(failure(kFiles, 8, {str(u"../made")}), kIO);
    EXPECT_FALSE(QDir(root.filePath("made")).exists());
    EXPECT_EQ(failure(kFiles, 9, {str(u"a"), str(u"")}), kInvalidArgument);
    EXPECT_EQ(errorText(), "InvalidArgumentException: Target filename is empty");
    EXPECT_EQ(exists(1, u""), 0);
}

// The reader's checks in the order they fail, without a holder, open, and closed again.
TEST_F(FileNatives, ReaderChecksFailInTheirOrder)
{
    putFile(app.filePath("data.bin"), "ABCDEFGHIJ");
    QDir(app).mkdir("sub");
    const std::string notOpen = "IOException: File is not open",
                      badType = "VMException: Invalid TYPEID";
    const std::string negative = "InvalidArgumentException: Position is less than zero: -";
    const uint32_t in = block();
    const auto expectNotOpen = [&] {
        EXPECT_EQ(failureText(kReader, 2, {in, 3}), notOpen);
        for (int op : {3, 4})
            EXPECT_EQ(failureText(kReader, op, {in}), notOpen);
        for (int count : {0, 1})
            EXPECT_EQ(failureText(kInput, 3, {in, count}), notOpen);
    };
    EXPECT_EQ(failureText(kReader, 2, {in, -5}), negative + "5");
    EXPECT_EQ(failureText(kInput, 3, {in, -1}),
              "InvalidArgumentException: The number of bytes should be non-negative");
    expectNotOpen();
    call(kInput, 1, {in}); // closing without a holder does nothing
    EXPECT_EQ(failureText(kReader, 1, {in, str(u"sub")}), "IOException: Could not open file: sub");
    EXPECT_EQ(failureText(kReader, 1, {0, str(u"data.bin")}), "NullPointerException: NULL pointer");
    call(kInput, 2, {in});
    EXPECT_EQ(stack(), std::vector<int32_t>{0});

    call(kReader, 1, {in, str(u"data.bin")});
    call(kReader, 2, {in, 10}); // the end itself is a position
    EXPECT_EQ(failureText(kReader, 2, {in, 11}), "IOException");
    call(kReader, 2, {in, 7});
    EXPECT_EQ(failureText(kInput, 3, {in, 4}), "IOException"); // more than remains
    EXPECT_EQ(failureText(kInput, 3, {in, 0x7fffffff}), "IOException");
    call(kInput, 3, {in, 0});
    EXPECT_EQ(vm.arrayBytes(vm.argU(0)), std::vector<uint8_t>{});
    call(kReader, 3, {in});
    EXPECT_EQ(stack(), std::vector<int32_t>{7});
    // A reader holder is not a writer holder.
    EXPECT_EQ(failureText(kWriter, 2, {in, 0}), badType);
    EXPECT_EQ(failureText(kWriter, 4, {in}), badType);
    EXPECT_EQ(failureText(kOutput, 3, {in, bytes({1})}), badType);
    call(kOutput, 2, {in});
    EXPECT_EQ(stack(), std::vector<int32_t>{-1});

    // Closed: the holder stays and its stream answers "not open".
    call(kInput, 1, {in});
    expectNotOpen();
    EXPECT_EQ(failureText(kReader, 2, {in, -1}), negative + "1");
    EXPECT_EQ(failureText(kWriter, 2, {in, 0}), badType);
    call(kInput, 1, {in});
    EXPECT_EQ(failureText(kInput, 1, {0}), "NullPointerException: NULL pointer");
    EXPECT_EQ(failure(kReader, 5, {in}), kVMException);
    EXPECT_EQ(failure(kInput, 4, {in}), kVMException);
}

} // namespace
