// SPDX-License-Identifier: MIT
// Byte streams over files and memory. Operations report failure by their result and never
// throw; the natives above turn failures into managed IOExceptions.
#pragma once

#include <cstdint>

namespace zelmo::TARNEL {

using TUint8 = uint8_t;
using TUint32 = uint32_t;

class Stream {
public:
    virtual ~Stream() = default;
    virtual bool isOpen() const { return m_open; }
    // Called whenever an operation fails at the end of data or on an I/O error.
    virtual void onError() {}

protected:
    bool m_open = false;
};

class InputStream : public Stream {
public:
    // The next byte 0..255; past the end: -1 for files, 0 for memory.
    virtual int readByte() = 0;
    // True only when exactly n bytes were read.
    virtual bool read(TUint8* buf, TUint32 n) = 0;
    virtual int size() = 0;
    virtual int position() = 0;
    virtual bool seek(TUint32 pos) = 0;
    virtual bool isEof() = 0;
    virtual void close() = 0;
};

class OutputStream : public Stream {
public:
    virtual bool writeByte(TUint8 b) = 0;
    virtual bool write(const TUint8* buf, TUint32 n) = 0;
    virtual int size() = 0;
    virtual int position() = 0;
    virtual bool seek(TUint32 pos) = 0;
    virtual void close() = 0;
    // Hands buffered bytes to their destination; false when that fails or nothing is open.
    virtual bool flush() { return isOpen(); }
    // Closes and tells whether everything written so far was delivered. A full disk or a
    // failing device often shows only here, so callers that must not lose data use this.
    virtual bool closeChecked()
    {
        const bool delivered = flush();
        close();
        return delivered;
    }
};

} // namespace zelmo::TARNEL
