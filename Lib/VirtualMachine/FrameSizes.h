// SPDX-License-Identifier: MIT
// The words of each method info's frame below a call's return slot (its first two slot
// counts), appended as the method infos are loaded. A call finds its frame's base with one
// compare and one load from this compact table instead of bounds-checking the vector of whole
// method infos and reading two of their fields.
#pragma once

#include <cstdint>
#include <vector>

namespace zelmo {

class FrameSizes {
public:
    // The counts come from the image: their sum wraps as the frame base's subtraction did.
    void append(int32_t slotCount1, int32_t slotCount2)
    {
        m_words.push_back(static_cast<int32_t>(static_cast<uint32_t>(slotCount1) +
                                               static_cast<uint32_t>(slotCount2)));
    }

    // The base of the frame of a call to method info `index` whose return slot is at sp (a
    // negative index: a call without one, whose frame starts at sp). False for an index that is
    // neither negative nor a loaded method info.
    bool frameBase(int32_t index, int32_t sp, int32_t& base) const
    {
        base = sp;
        if (index < 0) return true;
        if (static_cast<uint32_t>(index) >= m_words.size()) [[unlikely]]
            return false;
        base = static_cast<int32_t>(static_cast<uint32_t>(sp) -
                                    static_cast<uint32_t>(m_words[static_cast<uint32_t>(index)]));
        return true;
    }

private:
    std::vector<int32_t> m_words;
};

} // namespace zelmo
