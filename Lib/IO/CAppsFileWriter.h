// SPDX-License-Identifier: MIT
// A managed-heap writer over an output stream that it owns: forwards the stream operations and
// adds slices, strings and big-endian integers. Without a stream every answer is false or 0.
#pragma once

#include "Containers/GCObject.h"
#include "IO/FileOutputStream.h"
#include "IO/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmo::TARNEL {

class CAppsFileWriter : public GCObject {
public:
    // Opens the file at `path` for writing (see isOpen()).
    explicit CAppsFileWriter(const std::u16string& path,
                             FileOutputStream::Mode mode = FileOutputStream::Mode::Truncate);
    CAppsFileWriter(std::unique_ptr<OutputStream> stream, const std::u16string& path = {});

    const std::u16string& path() const { return m_path; }
    OutputStream* stream() const { return m_stream.get(); }

    bool isOpen() const { return m_stream && m_stream->isOpen(); }
    bool writeByte(TUint8 b) { return m_stream && m_stream->writeByte(b); }
    bool write(const TUint8* buf, TUint32 n) { return m_stream && m_stream->write(buf, n); }
    int size() { return m_stream ? m_stream->size() : 0; }
    int position() { return m_stream ? m_stream->position() : 0; }
    bool seek(TUint32 pos) { return m_stream && m_stream->seek(pos); }
    bool flush() { return m_stream && m_stream->flush(); }
    void close()
    {
        if (m_stream) m_stream->close();
    }
    bool closeChecked() { return m_stream && m_stream->closeChecked(); }

    // n bytes from buf; n < 0 is refused.
    bool writeByteBufferToFile(const TUint8* buf, int n);
    // bytes[offset, offset + count); a negative count means up to the end. Count 0 succeeds at
    // once; a negative offset or a slice beyond the vector fails.
    bool writeSlice(const std::vector<TUint8>& bytes, int offset, int count);
    // Each UTF-16 unit as its low 8 bits.
    bool writeString(const std::u16string& text);

    // Big-endian integers, each written with one write().
    bool writeUint8(uint8_t value) { return writeByte(value); }
    bool writeInt16(int16_t value);
    bool writeInt32(int32_t value);
    bool writeInt64(int64_t value);

private:
    std::u16string m_path;
    std::unique_ptr<OutputStream> m_stream;
};

} // namespace zelmo::TARNEL
