// SPDX-License-Identifier: MIT
#include "IO/MemoryOutputStream.h"

#include <climits>

namespace zelmo::TARNEL {

MemoryOutputStream::MemoryOutputStream()
    : m_owned(std::make_unique<std::vector<TUint8>>()), m_target(m_owned.get())
{
    m_open = true;
}

MemoryOutputStream::MemoryOutputStream(std::vector<TUint8>& target) : m_target(&target)
{
    m_open = true;
}

bool MemoryOutputStream::writeByte(TUint8 b)
{
    if (!m_target) return false;
    const auto length = static_cast<int64_t>(m_target->size());
    if (m_position < length) {
        (*m_target)[static_cast<size_t>(m_position)] = b;
    } else if (m_position == length) {
        m_target->push_back(b);
    } else {
        onError();
        return false;
    }
    ++m_position;
    return isOpen();
}

bool MemoryOutputStream::write(const TUint8* buf, TUint32 n)
{
    for (TUint32 i = 0; i < n; ++i) {
        if (!writeByte(buf[i])) return false;
    }
    return true;
}

int MemoryOutputStream::position()
{
    return m_position > INT_MAX ? 0 : static_cast<int>(m_position);
}

bool MemoryOutputStream::seek(TUint32 pos)
{
    m_position = pos;
    return m_target && pos <= m_target->size();
}

void MemoryOutputStream::close()
{
    m_open = false;
    m_target = nullptr;
    m_owned.reset();
}

} // namespace zelmo::TARNEL
