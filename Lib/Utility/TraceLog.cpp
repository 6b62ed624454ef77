// SPDX-License-Identifier: MIT
#include "Utility/TraceLog.h"

#include "Base/Errors.h"
#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "IO/InternalAssert.h"

#include <QDate>

#include <string>

namespace zelmo::Trace {

namespace {

[[noreturn]] void fail(const std::string& message)
{
    throwError(kIO, std::string_view(message));
}

// Bytes left between the reader's position and its end.
int64_t remaining(TraceLog::Reader& reader)
{
    return int64_t{reader.size()} - reader.position();
}

uint8_t readU8(TraceLog::Reader& reader)
{
    uint8_t value = 0;
    if (!reader.readUint8(value)) fail("read: end of file");
    return value;
}

uint16_t readU16(TraceLog::Reader& reader)
{
    uint16_t value = 0;
    if (!reader.readUint16(value)) fail("read: end of file");
    return value;
}

int32_t readI32(TraceLog::Reader& reader)
{
    int32_t value = 0;
    if (!reader.readInt32(value)) fail("read: end of file");
    return value;
}

int64_t readI64(TraceLog::Reader& reader)
{
    int64_t value = 0;
    if (!reader.readInt64(value)) fail("read: end of file");
    return value;
}

// Writes go through these so that a full disk is an error, not a silently short file.
void check(bool written)
{
    if (!written) throwError(kIO);
}

void writeU8(TraceLog::Writer& writer, int value)
{
    check(writer.writeUint8(static_cast<uint8_t>(value)));
}
void writeI16(TraceLog::Writer& writer, int value)
{
    check(writer.writeInt16(static_cast<int16_t>(value)));
}
void writeI32(TraceLog::Writer& writer, int32_t value)
{
    check(writer.writeInt32(value));
}
void writeI64(TraceLog::Writer& writer, int64_t value)
{
    check(writer.writeInt64(value));
}

} // namespace

// ---- primitive nodes ----

void TraceLog::StringNode::read(Reader& reader, int length)
{
    if (length > remaining(reader)) fail("read: end of file");
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!reader.read(bytes.data(), static_cast<uint32_t>(length))) fail("read: end of file");
    text.clear();
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) // an odd last byte is no unit
        text.push_back(static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]));
}

void TraceLog::StringNode::writePayload(Writer& writer) const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
        bytes.push_back(static_cast<uint8_t>(unit));
    }
    check(writer.writeByteBufferToFile(bytes.data(), static_cast<int>(bytes.size())));
}

void TraceLog::DateTimeNode::read(Reader& reader, int /*length*/)
{
    year = readU16(reader);
    month = readU8(reader);
    day = readU8(reader);
    hour = readU8(reader);
    minute = readU8(reader);
    second = readU8(reader);
}

void TraceLog::DateTimeNode::writePayload(Writer& writer) const
{
    writeI16(writer, year);
    for (int field : {month, day, hour, minute, second})
        writeU8(writer, field);
}

void TraceLog::DataNode::read(Reader& reader, int length)
{
    if (length > remaining(reader)) fail("read: end of file");
    bytes.assign(static_cast<size_t>(length), 0);
    if (!reader.read(bytes.data(), static_cast<uint32_t>(length))) fail("read: end of file");
}

void TraceLog::DataNode::writePayload(Writer& writer) const
{
    check(writer.writeByteBufferToFile(bytes.data(), static_cast<int>(bytes.size())));
}

TraceLog::HeaderNode::HeaderNode() : producer(u"Zelmo Studio Emulator")
{
    const QDate today = QDate::currentDate();
    date.year = today.year();
    date.month = today.month();
    date.day = today.day();
}

void TraceLog::HeaderNode::read(Reader& reader, int /*length*/)
{
    majorVersion = readU8(reader);
    minorVersion = readU8(reader);
    readNode(reader, producer);
    reserved = readI32(reader);
    readNode(reader, date);
    timeUnitsPerSecond = readI64(reader);
}

int64_t TraceLog::HeaderNode::payloadLength() const
{
    return 2 + 5 + producer.payloadLength() + 4 + 5 + date.payloadLength() + 8;
}

void TraceLog::HeaderNode::writePayload(Writer& writer) const
{
    writeU8(writer, majorVersion);
    writeU8(writer, minorVersion);
    writeNode(writer, producer);
    writeI32(writer, reserved);
    writeNode(writer, date);
    writeI64(writer, timeUnitsPerSecond);
}

// ---- log nodes ----

void TraceLog::LogNode::read(Reader& reader, int /*length*/)
{
    time = readI64(reader);
    p0 = readI32(reader);
}

void TraceLog::LogNode::writePayload(Writer& writer) const
{
    writeI64(writer, time);
    writeI32(writer, p0);
}

void TraceLog::EntityNode::read(Reader& reader, int length)
{
    LogNode::read(reader, length);
    p1 = readI32(reader);
    p2 = readI64(reader);
}

void TraceLog::EntityNode::writePayload(Writer& writer) const
{
    LogNode::writePayload(writer);
    writeI32(writer, p1);
    writeI64(writer, p2);
}

void TraceLog::BinaryNode::read(Reader& reader, int length)
{
    EntityNode::read(reader, length);
    readNode(reader, name);
    readNode(reader, data);
    p3 = readI32(reader);
    p4 = readI32(reader);
}

int64_t TraceLog::BinaryNode::payloadLength() const
{
    return EntityNode::payloadLength() + 5 + name.payloadLength() + 5 + data.payloadLength() + 8;
}

void TraceLog::BinaryNode::writePayload(Writer& writer) const
{
    EntityNode::writePayload(writer);
    writeNode(writer, name);
    writeNode(writer, data);
    writeI32(writer, p3);
    writeI32(writer, p4);
}

void TraceLog::LogNodeWithValue::read(Reader& reader, int length)
{
    LogNode::read(reader, length);
    p1 = readI32(reader);
}

void TraceLog::LogNodeWithValue::writePayload(Writer& writer) const
{
    LogNode::writePayload(writer);
    writeI32(writer, p1);
}

void TraceLog::MessageNode::read(Reader& reader, int length)
{
    LogNode::read(reader, length);
    readNode(reader, text);
}

int64_t TraceLog::MessageNode::payloadLength() const
{
    return LogNode::payloadLength() + 5 + text.payloadLength();
}

void TraceLog::MessageNode::writePayload(Writer& writer) const
{
    LogNode::writePayload(writer);
    writeNode(writer, text);
}

void TraceLog::ExceptionThrownNode::read(Reader& reader, int length)
{
    LogNodeWithValue::read(reader, length);
    p2 = readI32(reader);
}

void TraceLog::ExceptionThrownNode::writePayload(Writer& writer) const
{
    LogNodeWithValue::writePayload(writer);
    writeI32(writer, p2);
}

// ---- framing ----

void TraceLog::writeNode(Writer& writer, const NodeBase& node)
{
    const int64_t length = node.payloadLength();
    if (length > INT32_MAX) throwError(kIO);
    writeU8(writer, node.type());
    writeI32(writer, static_cast<int32_t>(length));
    node.writePayload(writer);
}

void TraceLog::readAndCheckType(Reader& reader, int expected)
{
    ZELMO_IO_ASSERT(expected >= 0 && expected < 255);
    const int found = readU8(reader);
    if (found != expected)
        fail("invalid type (expecting type: " + std::to_string(expected) + ") " +
             std::to_string(found));
}

void TraceLog::readFramedPayload(Reader& reader, NodeBase& node)
{
    const int32_t length = readI32(reader);
    if (length < 0 || length > remaining(reader)) fail("read: end of file");
    const int64_t start = reader.position();
    node.read(reader, length);
    const int64_t consumed = reader.position() - start;
    if (consumed > length) fail("read: length exceeded");
    if (consumed < length && !reader.seek(static_cast<uint32_t>(start + length)))
        fail("read: end of file");
}

void TraceLog::readNode(Reader& reader, NodeBase& node)
{
    readAndCheckType(reader, node.type());
    readFramedPayload(reader, node);
}

std::unique_ptr<TraceLog::NodeBase> TraceLog::createLogNode(int type)
{
    switch (type) {
    case BinaryNode::kType:
        return std::make_unique<BinaryNode>();
    case MethodCallNode::kType:
        return std::make_unique<MethodCallNode>();
    case MethodReturnNode::kType:
        return std::make_unique<MethodReturnNode>();
    case GarbageCollectionNode::kType:
        return std::make_unique<GarbageCollectionNode>();
    case StopTraceNode::kType:
        return std::make_unique<StopTraceNode>();
    case StartTraceNode::kType:
        return std::make_unique<StartTraceNode>();
    case MessageNode::kType:
        return std::make_unique<MessageNode>();
    case ExceptionThrownNode::kType:
        return std::make_unique<ExceptionThrownNode>();
    case ExceptionCaughtNode::kType:
        return std::make_unique<ExceptionCaughtNode>();
    default:
        return nullptr;
    }
}

// ---- whole logs ----

bool TraceLog::writeLog(const std::u16string& path) const
{
    Writer writer(path);
    if (!writer.isOpen()) return false;
    const bool complete = write(writer);
    check(writer.closeChecked());
    return complete;
}

bool TraceLog::write(Writer& writer) const
{
    writeNode(writer, m_header);
    for (const auto& node : m_nodes) {
        if (node->type() < BinaryNode::kType || node->type() > ExceptionCaughtNode::kType)
            return false;
        writeNode(writer, *node);
    }
    return true;
}

void TraceLog::readLog(const std::u16string& path)
{
    Reader reader(path);
    read(reader);
}

void TraceLog::read(Reader& reader)
{
    if (!reader.isOpen()) fail("File is not open");
    HeaderNode header;
    readNode(reader, header);
    std::vector<std::unique_ptr<NodeBase>> nodes;
    while (!reader.isEof()) {
        const int type = readU8(reader);
        std::unique_ptr<NodeBase> node = createLogNode(type);
        if (!node)
            fail("invalid type (expecting type: " + std::to_string(BinaryNode::kType) + ".." +
                 std::to_string(ExceptionCaughtNode::kType) + ") " + std::to_string(type));
        readFramedPayload(reader, *node);
        nodes.push_back(std::move(node));
    }
    m_header = std::move(header);
    m_nodes = std::move(nodes);
}

} // namespace zelmo::Trace
