// SPDX-License-Identifier: MIT
#include "IO/MemoryInputStream.h"

#include "IO/InternalAssert.h"

#include <cstring>

namespace zelmo::TARNEL {

void MemoryInputStream::setBuffer(const TUint8* data, TUint32 n)
{
    ZELMO_IO_ASSERT(data && "aBuffer");
    m_bytes.assign(data, data + n);
    m_position = 0;
    m_open = true;
}

void MemoryInputStream::setBuffer(const std::vector<TUint8>& bytes)
{
    m_bytes = bytes;
    m_position = 0;
    m_open = true;
}

int MemoryInputStream::readByte()
{
    if (m_position >= m_bytes.size()) {
        onError();
        return 0;
    }
    return m_bytes[m_position++];
}

bool MemoryInputStream::read(TUint8* buf, TUint32 n)
{
    // 64-bit sum: a huge n must not wrap round to a small end.
    if (n > m_bytes.size() || uint64_t{m_position} + n > m_bytes.size()) {
        onError();
        m_position = static_cast<TUint32>(m_bytes.size());
        return false;
    }
    if (n > 0) std::memcpy(buf, m_bytes.data() + m_position, n);
    m_position += n;
    return true;
}

bool MemoryInputStream::seek(TUint32 pos)
{
    m_position = pos;
    return pos < m_bytes.size();
}

} // namespace zelmo::TARNEL
