// SPDX-License-Identifier: MIT
// MT19937: state regeneration (offset 397, matrix 0x9908B0DF) and output tempering.
#include "Utility/MersenneTwister.h"

#include <algorithm>

namespace zelmo {

namespace {
constexpr int kOffset = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpperBit = 0x80000000u;
constexpr uint32_t kLowerBits = 0x7FFFFFFFu;
} // namespace

void MersenneTwister::seed(uint32_t seedWord)
{
    m_state[0] = seedWord;
    for (int i = 1; i < kStateWords; ++i)
        m_state[i] = 69069u * m_state[i - 1];
    m_index = 0;
}

void MersenneTwister::setState(const State& words, int index)
{
    m_state = words;
    m_index = std::clamp(index, 0, kStateWords);
}

void MersenneTwister::regenerate()
{
    for (int i = 0; i < kStateWords; ++i) {
        const uint32_t y = (m_state[i] & kUpperBit) | (m_state[(i + 1) % kStateWords] & kLowerBits);
        m_state[i] = m_state[(i + kOffset) % kStateWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
    }
    m_index = 0;
}

uint32_t MersenneTwister::next()
{
    if (m_index >= kStateWords) regenerate();
    uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

} // namespace zelmo
