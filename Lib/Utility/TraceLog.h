// SPDX-License-Identifier: MIT
// A trace of runtime events (calls and returns, exceptions, collections, messages, raw data,
// start and stop of tracing) kept as nodes and stored in a file of framed nodes: type code
// (1 byte), payload length (4 bytes), payload, every integer big-endian. The same class reads
// such a file back. Reading errors and failed writes raise IOException with their text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmo::TARNEL {
class CAppsFileReader;
class CAppsFileWriter;
} // namespace zelmo::TARNEL

namespace zelmo::Trace {

class TraceLog {
public:
    using Reader = TARNEL::CAppsFileReader;
    using Writer = TARNEL::CAppsFileWriter;

    class NodeBase {
    public:
        virtual ~NodeBase() = default;
        // Fills the node from the payload (length bytes) that starts at the reader's position.
        virtual void read(Reader& reader, int length) = 0;
        virtual int type() const = 0;
        virtual int64_t payloadLength() const = 0;
        virtual void writePayload(Writer& writer) const = 0;
    };

    class StringNode : public NodeBase {
    public:
        static constexpr int kType = 1;
        StringNode() = default;
        explicit StringNode(std::u16string text) : text(std::move(text)) {}
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override { return 2 * static_cast<int64_t>(text.size()); }
        void writePayload(Writer& writer) const override;
        std::u16string text;
    };

    class DateTimeNode : public NodeBase {
    public:
        static constexpr int kType = 3;
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override { return 7; }
        void writePayload(Writer& writer) const override;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    };

    class DataNode : public NodeBase {
    public:
        static constexpr int kType = 4;
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override { return static_cast<int64_t>(bytes.size()); }
        void writePayload(Writer& writer) const override;
        std::vector<uint8_t> bytes;
    };

    class HeaderNode : public NodeBase {
    public:
        static constexpr int kType = 5;
        HeaderNode(); // producer name set, date = today at 00:00:00
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override;
        void writePayload(Writer& writer) const override;
        uint8_t majorVersion = 1, minorVersion = 0;
        StringNode producer;
        int32_t reserved = 0;
        DateTimeNode date;
        int64_t timeUnitsPerSecond = 1000000; // of the log nodes' time field
    };

    // Every event: when it happened and one value whose meaning its producer defines.
    class LogNode : public NodeBase {
    public:
        void read(Reader& reader, int length) override;
        int64_t payloadLength() const override { return 12; }
        void writePayload(Writer& writer) const override;
        int64_t time = 0;
        int32_t p0 = 0;
    };

    class EntityNode : public LogNode {
    public:
        void read(Reader& reader, int length) override;
        int64_t payloadLength() const override { return 24; }
        void writePayload(Writer& writer) const override;
        int32_t p1 = 0;
        int64_t p2 = 0;
    };

    class BinaryNode : public EntityNode {
    public:
        static constexpr int kType = 101;
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override;
        void writePayload(Writer& writer) const override;
        StringNode name;
        DataNode data;
        int32_t p3 = 0, p4 = 0;
    };

    // A log node with one more 32-bit value.
    class LogNodeWithValue : public LogNode {
    public:
        void read(Reader& reader, int length) override;
        int64_t payloadLength() const override { return 16; }
        void writePayload(Writer& writer) const override;
        int32_t p1 = 0;
    };

    class MethodCallNode : public LogNodeWithValue {
    public:
        static constexpr int kType = 102;
        int type() const override { return kType; }
    };

    class MethodReturnNode : public LogNode {
    public:
        static constexpr int kType = 103;
        int type() const override { return kType; }
    };

    class GarbageCollectionNode : public EntityNode {
    public:
        static constexpr int kType = 104;
        int type() const override { return kType; }
    };

    class StopTraceNode : public LogNode {
    public:
        static constexpr int kType = 105;
        int type() const override { return kType; }
    };

    class StartTraceNode : public LogNodeWithValue {
    public:
        static constexpr int kType = 106;
        int type() const override { return kType; }
    };

    class MessageNode : public LogNode {
    public:
        static constexpr int kType = 107;
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override;
        void writePayload(Writer& writer) const override;
        StringNode text;
    };

    class ExceptionThrownNode : public LogNodeWithValue {
    public:
        static constexpr int kType = 108;
        void read(Reader& reader, int length) override;
        int type() const override { return kType; }
        int64_t payloadLength() const override { return 20; }
        void writePayload(Writer& writer) const override;
        int32_t p2 = 0;
    };

    class ExceptionCaughtNode : public LogNodeWithValue {
    public:
        static constexpr int kType = 109;
        int type() const override { return kType; }
    };

    void record(std::unique_ptr<NodeBase> node) { m_nodes.push_back(std::move(node)); }
    const std::vector<std::unique_ptr<NodeBase>>& nodes() const { return m_nodes; }
    const HeaderNode& header() const { return m_header; }

    // Writes the header and every recorded node to the file at an absolute path. False when
    // the file does not open or a recorded node is not a log node (codes 101 to 109).
    bool writeLog(const std::u16string& path) const;
    bool write(Writer& writer) const;
    // Replaces the header and the nodes with those of the file.
    void readLog(const std::u16string& path);
    void read(Reader& reader);

    // One framed node: type, length, payload.
    static void writeNode(Writer& writer, const NodeBase& node);
    // Reads the type byte; anything but `expected` (below 255) is an error.
    static void readAndCheckType(Reader& reader, int expected);
    // A framed node of the node's own type; skips payload bytes it does not know.
    static void readNode(Reader& reader, NodeBase& node);
    // A new, empty log node for a type code, or null when the code is not one.
    static std::unique_ptr<NodeBase> createLogNode(int type);

private:
    static void readFramedPayload(Reader& reader, NodeBase& node);

    HeaderNode m_header;
    std::vector<std::unique_ptr<NodeBase>> m_nodes;
};

} // namespace zelmo::Trace
