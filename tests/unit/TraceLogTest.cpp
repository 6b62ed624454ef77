// SPDX-License-Identifier: MIT
// The trace-log file format: whole logs through files, and the reading errors.
#include "Utility/TraceLog.h"
#include "Base/Errors.h"
#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "IO/MemoryInputStream.h"
#include "IO/MemoryOutputStream.h"

#include <QDate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelmo;
using namespace zelmo::TARNEL;
using Log = zelmo::Trace::TraceLog;

namespace {

using Bytes = std::vector<TUint8>;

Bytes framed(const Log::NodeBase& node)
{
    auto* sink = new MemoryOutputStream;
    CAppsFileWriter writer{std::unique_ptr<OutputStream>(sink)};
    Log::writeNode(writer, node);
    return *sink->bytes();
}

// The error text that reading `bytes` into `node` raises ("" when it reads fine).
std::u16string readError(const Bytes& bytes, Log::NodeBase& node)
{
    CAppsFileReader reader(std::make_unique<MemoryInputStream>(bytes));
    try {
        Log::readNode(reader, node);
    } catch (const ErrorHandlingException&) {
        EXPECT_EQ(lastErrorCode(), kIO);
        return lastErrorText();
    }
    return u"";
}

} // namespace

TEST(TraceLog, ReadingSkipsUnknownTailsAndReportsBadFrames)
{
    // Extra payload bytes after the known fields are skipped, and the next node still reads.
    Bytes longer{102, 0, 0, 0, 19, 0, 0, 0, 0, 0,    0,    0,
                 1,   0, 0, 0, 2,  0, 0, 0, 3, 0xde, 0xad, 0xbe};
    const Bytes next = framed(Log::StringNode(u"n"));
    longer.insert(longer.end(), next.begin(), next.end());
    CAppsFileReader reader(std::make_unique<MemoryInputStream>(longer));
    Log::MethodCallNode call;
    Log::readNode(reader, call);
    EXPECT_EQ(call.p1, 3);
    Log::StringNode after;
    Log::readNode(reader, after);
    EXPECT_EQ(after.text, u"n");

    // An odd last byte of a string is no code unit.
    Log::StringNode odd;
    EXPECT_EQ(readError({1, 0, 0, 0, 3, 0, 'o', 'x'}, odd), u"");
    EXPECT_EQ(odd.text, u"o");

    Log::MethodCallNode shortFrame;
    EXPECT_EQ(
        readError({102, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3}, shortFrame),
        u"IOException: read: length exceeded");
    Log::StringNode wrong;
    EXPECT_EQ(readError({4, 0, 0, 0, 0}, wrong),
              u"IOException: invalid type (expecting type: 1) 4");
    EXPECT_EQ(readError({1, 0, 0, 0, 9, 0, 'a'}, wrong), u"IOException: read: end of file");
    EXPECT_EQ(readError({1, 0xff, 0xff, 0xff, 0xff}, wrong), u"IOException: read: end of file");
    EXPECT_EQ(readError({1, 0, 0}, wrong), u"IOException: read: end of file");
}

TEST(TraceLog, WholeLogsThroughFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::u16string path = dir.filePath("trace/run.log").toStdU16String();

    Log log;
    auto call = std::make_unique<Log::MethodCallNode>();
    call->time = 1000;
    call->p1 = 5;
    log.record(std::move(call));
    auto message = std::make_unique<Log::MessageNode>();
    message->text = Log::StringNode(u"collected");
    log.record(std::move(message));
    log.record(std::make_unique<Log::StopTraceNode>());
    ASSERT_TRUE(log.writeLog(path));

    Log back;
    back.readLog(path);
    ASSERT_EQ(back.nodes().size(), 3u);
    EXPECT_EQ(back.nodes()[0]->type(), 102);
    EXPECT_EQ(static_cast<const Log::MethodCallNode&>(*back.nodes()[0]).time, 1000);
    EXPECT_EQ(static_cast<const Log::MessageNode&>(*back.nodes()[1]).text.text, u"collected");
    EXPECT_EQ(back.nodes()[2]->type(), 105);
    EXPECT_EQ(back.header().producer.text, u"Zelmo Studio Emulator");

    Log notOnlyEvents;
    notOnlyEvents.record(std::make_unique<Log::StopTraceNode>());
    notOnlyEvents.record(std::make_unique<Log::StringNode>(u"not an event"));
    EXPECT_FALSE(notOnlyEvents.writeLog(dir.filePath("partial.log").toStdU16String()));

    // A full device is an error, not a short file reported as written.
    clearError();
    EXPECT_THROW(log.writeLog(u"/dev/full"), ErrorHandlingException);
    EXPECT_EQ(lastErrorText(), u"IOException");

    EXPECT_THROW(back.readLog(dir.filePath("missing").toStdU16String()), ErrorHandlingException);
    EXPECT_EQ(lastErrorText(), u"IOException: File is not open");
    ASSERT_EQ(back.nodes().size(), 3u); // a failed read keeps what was there

    // A log with a node that is not an event, or cut short inside a node, does not read.
    auto* sink = new MemoryOutputStream;
    CAppsFileWriter writer{std::unique_ptr<OutputStream>(sink)};
    ASSERT_TRUE(log.write(writer));
    Bytes bytes = *sink->bytes();
    Bytes stray = bytes;
    stray.insert(stray.end(), {4, 0, 0, 0, 0});
    CAppsFileReader strayReader(std::make_unique<MemoryInputStream>(stray));
    EXPECT_THROW(back.read(strayReader), ErrorHandlingException);
    EXPECT_EQ(lastErrorText(), u"IOException: invalid type (expecting type: 101..109) 4");
    bytes.pop_back();
    CAppsFileReader cutReader(std::make_unique<MemoryInputStream>(bytes));
    EXPECT_THROW(back.read(cutReader), ErrorHandlingException);
    EXPECT_EQ(lastErrorText(), u"IOException: read: end of file");
}
