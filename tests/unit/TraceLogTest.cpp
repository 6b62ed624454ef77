// SPDX-License-Identifier: MIT
// The trace-log file format: byte layouts of the nodes, a round trip of every node type, and
// the reading errors.
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

template <class Node> Node roundTrip(const Node& node)
{
    Node back;
    EXPECT_EQ(readError(framed(node), back), u"");
    return back;
}

Log::StringNode text(std::u16string t)
{
    return Log::StringNode(std::move(t));
}

} // namespace

TEST(TraceLog, PrimitiveNodeLayouts)
{
    EXPECT_EQ(framed(text(u"")), (Bytes{1, 0, 0, 0, 0}));
    EXPECT_EQ(framed(text(u"A\u20ac")), (Bytes{1, 0, 0, 0, 4, 0, 'A', 0x20, 0xac}));

    Log::DateTimeNode date;
    date.year = 2009;
    date.month = 3;
    date.day = 7;
    EXPECT_EQ(framed(date), (Bytes{3, 0, 0, 0, 7, 7, 217, 3, 7, 0, 0, 0}));
    date.hour = 23;
    date.minute = 59;
    date.second = 58;
    const Log::DateTimeNode dateBack = roundTrip(date);
    EXPECT_EQ(std::tie(dateBack.year, dateBack.month, dateBack.day, dateBack.hour, dateBack.minute,
                       dateBack.second),
              std::tie(date.year, date.month, date.day, date.hour, date.minute, date.second));

    Log::DataNode data;
    data.bytes = {0, 255, 7};
    EXPECT_EQ(framed(data), (Bytes{4, 0, 0, 0, 3, 0, 255, 7}));
    EXPECT_EQ(roundTrip(data).bytes, data.bytes);
    EXPECT_EQ(roundTrip(text(u"\uffff\u0001x")).text, u"\uffff\u0001x");
}

TEST(TraceLog, HeaderNodeLayout)
{
    const QDate dayBefore = QDate::currentDate();
    const Log::HeaderNode header;
    const Bytes bytes = framed(header);
    // Made on one of the two days read around it (a run across midnight sees both).
    const QDate dayAfter = QDate::currentDate();
    const int n = 21; // "Zelmo Studio Emulator"
    ASSERT_EQ(bytes.size(), 5u + 2 * n + 31);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12),
              (Bytes{5, 0, 0, 0, 2 * n + 31, 1, 0, 1, 0, 0, 0, 2 * n}));
    EXPECT_EQ(bytes[12], 0);
    EXPECT_EQ(bytes[13], 'Z');
    const size_t afterName = 12 + 2 * n;
    EXPECT_EQ(Bytes(bytes.begin() + afterName, bytes.begin() + afterName + 9),
              (Bytes{0, 0, 0, 0, 3, 0, 0, 0, 7}));
    const QDate written(bytes[afterName + 9] * 256 + bytes[afterName + 10], bytes[afterName + 11],
                        bytes[afterName + 12]);
    EXPECT_TRUE(written == dayBefore || written == dayAfter) << written.toString().toStdString();
    EXPECT_EQ(Bytes(bytes.begin() + afterName + 13, bytes.end()),
              (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0x0f, 0x42, 0x40})); // 00:00:00, then 1000000

    const Log::HeaderNode back = roundTrip(header);
    EXPECT_EQ(back.producer.text, u"Zelmo Studio Emulator");
    EXPECT_EQ(back.timeUnitsPerSecond, 1000000);
    EXPECT_EQ(back.date.day, written.day());
}

TEST(TraceLog, EveryLogNodeWritesItsLengthAndReadsBack)
{
    Log::BinaryNode binary;
    binary.time = 0x0102030405060708LL;
    binary.p0 = -1;
    binary.p1 = 11;
    binary.p2 = -2;
    binary.name = text(u"ab");
    binary.data.bytes = {9, 8, 7};
    binary.p3 = 3;
    binary.p4 = 4;
    const Bytes binaryBytes = framed(binary);
    EXPECT_EQ(Bytes(binaryBytes.begin(), binaryBytes.begin() + 17),
              (Bytes{101, 0, 0, 0, 42 + 4 + 3, 1, 2, 3, 4, 5, 6, 7, 8, 0xff, 0xff, 0xff, 0xff}));
    const Log::BinaryNode binaryBack = roundTrip(binary);
    EXPECT_EQ(binaryBack.time, binary.time);
    EXPECT_EQ(binaryBack.p0, -1);
    EXPECT_EQ(binaryBack.p1, 11);
    EXPECT_EQ(binaryBack.p2, -2);
    EXPECT_EQ(binaryBack.name.text, u"ab");
    EXPECT_EQ(binaryBack.data.bytes, binary.data.bytes);
    EXPECT_EQ(binaryBack.p3, 3);
    EXPECT_EQ(binaryBack.p4, 4);

    Log::MethodCallNode call;
    call.time = 5;
    call.p1 = 77;
    EXPECT_EQ(framed(call),
              (Bytes{102, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 77}));
    EXPECT_EQ(roundTrip(call).p1, 77);

    Log::MethodReturnNode ret;
    ret.p0 = 0x01020304;
    EXPECT_EQ(framed(ret), (Bytes{103, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(roundTrip(ret).p0, 0x01020304);

    Log::GarbageCollectionNode gc;
    gc.p1 = 6;
    gc.p2 = 1LL << 40;
    EXPECT_EQ(framed(gc).size(), 5u + 24);
    EXPECT_EQ(framed(gc)[4], 24);
    EXPECT_EQ(roundTrip(gc).p2, 1LL << 40);

    Log::StopTraceNode stop;
    stop.time = -3;
    EXPECT_EQ(framed(stop)[4], 12);
    EXPECT_EQ(roundTrip(stop).time, -3);

    Log::StartTraceNode start;
    start.p1 = 12;
    EXPECT_EQ(framed(start)[0], 106);
    EXPECT_EQ(framed(start)[4], 16);
    EXPECT_EQ(roundTrip(start).p1, 12);

    Log::MessageNode message;
    message.text = text(u"hello");
    EXPECT_EQ(framed(message)[4], 17 + 10);
    EXPECT_EQ(roundTrip(message).text.text, u"hello");

    Log::ExceptionThrownNode thrown;
    thrown.p1 = 1;
    thrown.p2 = 2;
    EXPECT_EQ(framed(thrown)[4], 20);
    const auto thrownBack = roundTrip(thrown);
    EXPECT_EQ(std::make_pair(thrownBack.p1, thrownBack.p2), std::make_pair(1, 2));

    Log::ExceptionCaughtNode caught;
    caught.p1 = -9;
    EXPECT_EQ(framed(caught)[0], 109);
    EXPECT_EQ(framed(caught)[4], 16);
    EXPECT_EQ(roundTrip(caught).p1, -9);
}

TEST(TraceLog, ReadingSkipsUnknownTailsAndReportsBadFrames)
{
    // Extra payload bytes after the known fields are skipped, and the next node still reads.
    Bytes longer{102, 0, 0, 0, 19, 0, 0, 0, 0, 0,    0,    0,
                 1,   0, 0, 0, 2,  0, 0, 0, 3, 0xde, 0xad, 0xbe};
    const Bytes next = framed(text(u"n"));
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
    EXPECT_EQ(readError({}, wrong), u"IOException: read: end of file");
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
    message->text = text(u"collected");
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

    EXPECT_FALSE(log.writeLog(u"relative.log")); // the writer does not open

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
