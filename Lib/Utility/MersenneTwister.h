// SPDX-License-Identifier: MIT
// The Math group's pseudo-random generator: MT19937 (624-word state, 32-bit outputs). The
// runtime seeds it from the processor clock with the 69069 recurrence and starts with the
// untwisted seed words; setState() lets tests and tools start from any state.
#pragma once

#include <array>
#include <cstdint>

namespace zelmo {

class MersenneTwister {
public:
    static constexpr int kStateWords = 624;
    using State = std::array<uint32_t, kStateWords>;

    explicit MersenneTwister(uint32_t seedWord) { seed(seedWord); }

    // Word 0 = seedWord, word i = 69069 * word (i - 1) modulo 2^32; the first 624 outputs are
    // these words tempered.
    void seed(uint32_t seedWord);
    // Adopts a whole state; index is the position of the next word to temper (0..624, where
    // 624 regenerates the state before the next output).
    void setState(const State& words, int index);

    uint32_t next();

private:
    void regenerate();

    State m_state{};
    int m_index = 0;
};

} // namespace zelmo
