// SPDX-License-Identifier: MIT
// What an extension handler sees of the operand stack: words and two-word Fixed values popped,
// read and pushed through guest memory's checks, never raw pointers. Arguments are on top in
// push order (the last argument is the top word); the handler leaves its results there.
// Reading below word 0 or pushing past the end of the stack is the machine's fatal stack
// error, as for any instruction.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zelmo {

class VirtualMachine;

class ExtensionStack {
public:
    explicit ExtensionStack(VirtualMachine& machine) : m_machine(machine) {}

    // The index of the top word; -1 when the stack is empty.
    int32_t top() const;

    // The word `depth` below the top (0: the top word), left in place.
    int32_t peekWord(uint32_t depth = 0) const;
    int32_t popWord();
    void pushWord(int32_t value);

    // A Fixed value takes two words, low word in the lower slot. `depth` counts words from the
    // top to the value's high word (0: the value on top, 2: the one below it).
    int64_t peekFixed(uint32_t depth = 0) const;
    int64_t popFixed();
    void pushFixed(int64_t value);

private:
    // The stack word at `index`, checked against the stack and guest memory.
    int32_t wordAt(int64_t index) const;
    // Pushes the words in order (the last one ends on top).
    void grow(std::initializer_list<int32_t> words);

    VirtualMachine& m_machine;
};

} // namespace zelmo
