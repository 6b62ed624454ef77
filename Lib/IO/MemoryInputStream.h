// SPDX-License-Identifier: MIT
// An input stream over an owned copy of a byte buffer.
#pragma once

#include "IO/Stream.h"

#include <vector>

namespace zelmo::TARNEL {

class MemoryInputStream : public InputStream {
public:
    MemoryInputStream() = default;
    explicit MemoryInputStream(const std::vector<TUint8>& bytes) { setBuffer(bytes); }
    MemoryInputStream(const TUint8* data, TUint32 n) { setBuffer(data, n); }

    void setBuffer(const TUint8* data, TUint32 n);
    void setBuffer(const std::vector<TUint8>& bytes);

    int readByte() override;
    bool read(TUint8* buf, TUint32 n) override;
    int size() override { return static_cast<int>(m_bytes.size()); }
    int position() override { return static_cast<int>(m_position); }
    bool seek(TUint32 pos) override;
    bool isEof() override { return m_position >= m_bytes.size(); }
    void close() override {}

private:
    std::vector<TUint8> m_bytes;
    TUint32 m_position = 0;
};

} // namespace zelmo::TARNEL
