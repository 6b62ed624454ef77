// SPDX-License-Identifier: MIT
// A managed-heap reader over an input stream that it owns: forwards the stream operations and
// adds lines, strings and big-endian integers. Without a stream every answer is false or 0.
#pragma once

#include "Containers/GCObject.h"
#include "IO/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmo::TARNEL {

class CAppsFileReader : public GCObject {
public:
    // Opens the file at `path` for reading (see isOpen()).
    explicit CAppsFileReader(const std::u16string& path);
    CAppsFileReader(std::unique_ptr<InputStream> stream, const std::u16string& path = {});

    const std::u16string& path() const { return m_path; }
    InputStream* stream() const { return m_stream.get(); }

    bool isOpen() const { return m_stream && m_stream->isOpen(); }
    int readByte() { return m_stream ? m_stream->readByte() : 0; }
    bool read(TUint8* buf, TUint32 n) { return m_stream && m_stream->read(buf, n); }
    int size() { return m_stream ? m_stream->size() : 0; }
    int position() { return m_stream ? m_stream->position() : 0; }
    bool seek(TUint32 pos) { return m_stream && m_stream->seek(pos); }
    bool isEof() { return !m_stream || m_stream->isEof(); }
    void close()
    {
        if (m_stream) m_stream->close();
    }

    // One line of Latin-1 text: LF ends it, CR ends it and swallows the next byte whatever it
    // is, other control bytes are dropped. False without a stream or at the end of the data.
    bool readLine(std::u16string& line);
    // Exactly n bytes as Latin-1 text; false (line untouched) for n < 0 or a short read.
    bool readString(int n, std::u16string& text);
    // Everything from the position to the end.
    bool readRest(std::vector<TUint8>& bytes);

    // Big-endian integers, each read with one read(); a failed read leaves the target as it was.
    bool readUint8(uint8_t& value);
    bool readUint16(uint16_t& value);
    bool readInt32(int32_t& value);
    bool readInt64(int64_t& value);

private:
    std::u16string m_path;
    std::unique_ptr<InputStream> m_stream;
};

} // namespace zelmo::TARNEL
