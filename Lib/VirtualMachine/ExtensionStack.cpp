// SPDX-License-Identifier: MIT
#include "VirtualMachine/ExtensionStack.h"

#include "VirtualMachine/VirtualMachine.h"

#include <algorithm>
#include <climits>

namespace zelmo {

int32_t ExtensionStack::top() const
{
    return m_machine.sp();
}

int32_t ExtensionStack::wordAt(int64_t index) const
{
    if (index < 0) [[unlikely]] // below word 0: nothing the caller pushed
        m_machine.stackFault(static_cast<int32_t>(std::max<int64_t>(index, INT32_MIN)));
    const uint32_t address = m_machine.stackBase() + 4u * static_cast<uint32_t>(index);
    return static_cast<int32_t>(m_machine.memory().load32(address));
}

void ExtensionStack::grow(std::initializer_list<int32_t> words)
{
    const int32_t first = m_machine.sp() + 1;
    // Room for every word first: past the end is the stack overflow error, with nothing written.
    m_machine.setSp(m_machine.sp() + static_cast<int32_t>(words.size()));
    uint32_t address = m_machine.stackBase() + 4u * static_cast<uint32_t>(first);
    for (const int32_t word : words) {
        m_machine.memory().store32(address, static_cast<uint32_t>(word));
        address += 4;
    }
}

int32_t ExtensionStack::peekWord(uint32_t depth) const
{
    return wordAt(int64_t{m_machine.sp()} - depth);
}

int32_t ExtensionStack::popWord()
{
    const int32_t value = peekWord(0);
    m_machine.setSp(m_machine.sp() - 1);
    return value;
}

void ExtensionStack::pushWord(int32_t value)
{
    grow({value});
}

int64_t ExtensionStack::peekFixed(uint32_t depth) const
{
    const uint64_t high = static_cast<uint32_t>(peekWord(depth));
    const uint64_t low = static_cast<uint32_t>(wordAt(int64_t{m_machine.sp()} - depth - 1));
    return static_cast<int64_t>((high << 32) | low);
}

int64_t ExtensionStack::popFixed()
{
    const int64_t value = peekFixed(0);
    m_machine.setSp(m_machine.sp() - 2);
    return value;
}

void ExtensionStack::pushFixed(int64_t value)
{
    grow({static_cast<int32_t>(static_cast<uint32_t>(value)),
          static_cast<int32_t>(static_cast<uint64_t>(value) >> 32)});
}

} // namespace zelmo
