// SPDX-License-Identifier: MIT
// A fixed-point value on the operand stack takes two words, low word in the lower slot. These
// helpers name such a value by the argument index of its high word: 0 for a value on top, 2 for
// the first of two values.
#pragma once

#include "VirtualMachine/VirtualMachine.h"

#include <cstdint>

namespace zelmo {

inline int64_t fixedArg(VirtualMachine& vm, int highArg)
{
    const uint64_t low = vm.argU(highArg + 1);
    const uint64_t high = vm.argU(highArg);
    return static_cast<int64_t>((high << 32) | low);
}

inline void setFixedArg(VirtualMachine& vm, int highArg, int64_t value)
{
    vm.arg(highArg + 1) = static_cast<int32_t>(static_cast<uint32_t>(value));
    vm.arg(highArg) = static_cast<int32_t>(static_cast<uint64_t>(value) >> 32);
}

// Pushes a fixed value (two words).
inline void pushFixed(VirtualMachine& vm, int64_t value)
{
    vm.pushWord(0);
    vm.pushWord(0);
    setFixedArg(vm, 0, value);
}

} // namespace zelmo
