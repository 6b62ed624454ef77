// SPDX-License-Identifier: MIT
#include "window/KeyInput.h"

#include <Qt>

namespace zelmo {

int32_t runtimeKeyCode(int qtKey)
{
    if (qtKey >= 32 && qtKey <= 96) return qtKey;
    switch (qtKey) {
    case Qt::Key_Return:
        return 0x01000001;
    case Qt::Key_Backspace:
        return 0x01000002;
    case Qt::Key_Left:
        return 0x01000003;
    case Qt::Key_Right:
        return 0x01000004;
    case Qt::Key_Up:
        return 0x01000005;
    case Qt::Key_Down:
        return 0x01000006;
    default:
        return 0x01000000;
    }
}

void KeyRepeat::press(const RuntimeKey& key, uint64_t timestamp)
{
    if (m_pending) {
        const bool pairedRepeat =
            m_pending->first.scanCode == key.scanCode && m_pending->second == timestamp;
        if (pairedRepeat)
            m_pending.reset();
        else
            flush();
    }
    m_held.insert(key.scanCode);
    m_sink(key);
}

void KeyRepeat::release(const RuntimeKey& key, uint64_t timestamp, bool autoRepeat)
{
    if (autoRepeat || !m_held.count(key.scanCode)) return;
    if (m_detectable) {
        m_held.erase(key.scanCode);
        m_sink(key);
        return;
    }
    flush();
    m_pending.emplace(key, timestamp);
}

bool KeyRepeat::flush()
{
    if (!m_pending) return false;
    const RuntimeKey key = m_pending->first;
    m_pending.reset();
    m_held.erase(key.scanCode);
    m_sink(key);
    return true;
}

} // namespace zelmo
