// SPDX-License-Identifier: MIT
// The catalog of native groups and their operations, built from NativeGroups/*.def. It is the
// one list that the dispatcher (unknown-operation messages), the assembler and disassembler
// (operation names) and the generated reference read. It says what exists, not what is bound:
// implementations attach themselves through NativeRegistry.
//
// Operation names are unique within a group. Where several operations share a family name,
// each carries a suffix made of the operands that set it apart, in stack order: R a range,
// F a case flag, c a character in place of a string (String.indexOf_cR: a character, then a
// range); the operation whose operands are the family's plain ones keeps the bare name, and an
// operation that repeats another one under a second number ends in 2 (String.append2).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelmo {

struct NativeOperation {
    int number; // the signed operation byte
    std::string_view name;
    std::string_view arguments; // deepest first
    std::string_view result;    // result and stack effect
    std::string_view errors;
};

// How a group's unknown-operation message ends.
enum class NativeMessage : uint8_t { Position, Operation };

struct NativeGroup {
    int number;
    std::string_view name;
    std::string_view prefix; // the unknown-operation message starts with it
    NativeMessage message;
    std::string_view note; // the notation of the group's arguments
    std::span<const NativeOperation> operations;

    const NativeOperation* operation(int number) const;
    const NativeOperation* operation(std::string_view name) const;
};

// Every group, by ascending number.
std::span<const NativeGroup> nativeGroups();
// Null when the number or the name is not a group.
const NativeGroup* nativeGroup(int number);
const NativeGroup* nativeGroup(std::string_view name);

// Group numbers are bytes; every catalogued group lies below this.
inline constexpr int kNativeGroupLimit = 37;

} // namespace zelmo
