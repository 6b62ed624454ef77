// SPDX-License-Identifier: MIT
#include "window/KeyInput.h"

namespace zelmo {

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
