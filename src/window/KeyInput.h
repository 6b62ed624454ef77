// SPDX-License-Identifier: MIT
// Keys as the application sees them: the runtime's key codes, and one press, repeat presses
// and exactly one release for a held key.
#pragma once

#include "host/RuntimeKeyCode.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace zelmo {

struct RuntimeKey {
    int32_t code;
    uint32_t scanCode;
    std::u16string text;
    bool pressed;
};

// X11 reports a held key as release/press pairs unless the server's detectable auto-repeat is
// on, and Qt does not flag every pair. With detectable auto-repeat the server sends presses
// only; without it a release that is followed by a press of the same scan code with the same
// timestamp is a repeat and is dropped. Releases of keys that were never pressed here (held
// when the window got the focus) are dropped too.
class KeyRepeat {
public:
    using Sink = std::function<void(const RuntimeKey&)>;
    KeyRepeat(bool detectable, Sink sink) : m_detectable(detectable), m_sink(std::move(sink)) {}

    void press(const RuntimeKey& key, uint64_t timestamp);
    // `autoRepeat`: the platform marked the release as a repeat.
    void release(const RuntimeKey& key, uint64_t timestamp, bool autoRepeat);
    // Delivers a release held back to see whether a press follows; the owner calls it once the
    // events that arrived together have been handled. True when one was waiting.
    bool flush();
    bool waiting() const { return m_pending.has_value(); }

private:
    bool m_detectable;
    Sink m_sink;
    std::set<uint32_t> m_held;
    std::optional<std::pair<RuntimeKey, uint64_t>> m_pending; // release and its timestamp
};

} // namespace zelmo
