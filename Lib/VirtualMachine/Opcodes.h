// SPDX-License-Identifier: MIT
// The instruction set as data: the enum and a 256-entry table derived from Opcodes.def.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace zelmo {

static_assert(std::endian::native == std::endian::little, "images are little-endian");

// How the operand bytes that follow an opcode are laid out.
enum class Operands : uint8_t {
    None,     // no operand bytes
    I8,       // one signed byte
    I32,      // one 32-bit little-endian word
    Branch16, // i16 distance d; the target is the opcode's address + 2 + d
    Branch32, // i32 distance d; the target is the opcode's address + 4 + d
    Call,     // i32 absolute code address, i32 method-info index (negative: none)
    I32I32,   // two words
    U8I32,    // u8, then a word
    U8U8,     // two unsigned bytes
    I8I8,     // two signed bytes
    Bytes8,   // eight raw bytes (a little-endian 64-bit constant)
    U8I32I8,  // u8, word, i8
    Try,      // i32 class id (negative: catch all), i32 distance d; handler at op + 8 + d
};

// What the loader adds to an operand when it merges an image into the machine.
enum class Reloc : uint8_t {
    None,
    Call,     // + code base; method-info index + its base unless negative
    Selector, // image selector number -> global method-table index
    String,   // + string base
    Class,    // + class base (and raises maxClassId)
    Try,      // class id + class base unless negative; the distance is relative and kept
};

constexpr int operandBytes(Operands layout)
{
    switch (layout) {
    case Operands::None:
        return 0;
    case Operands::I8:
        return 1;
    case Operands::Branch16:
    case Operands::U8U8:
    case Operands::I8I8:
        return 2;
    case Operands::I32:
    case Operands::Branch32:
        return 4;
    case Operands::U8I32:
        return 5;
    case Operands::U8I32I8:
        return 6;
    case Operands::Call:
    case Operands::I32I32:
    case Operands::Bytes8:
    case Operands::Try:
        return 8;
    }
    return 0;
}

enum class Op : uint8_t {
#define OPCODE(name, byte, operands, reloc) name = byte,
#include "VirtualMachine/Opcodes.def"
#undef OPCODE
};

struct OpInfo {
    std::string_view mnemonic; // empty: this byte is not an opcode
    Operands operands = Operands::None;
    Reloc reloc = Reloc::None;
    constexpr int size() const { return 1 + operandBytes(operands); } // whole instruction
    constexpr bool valid() const { return !mnemonic.empty(); }
};

inline constexpr std::array<OpInfo, 256> kOpInfo = [] {
    std::array<OpInfo, 256> table{};
#define OPCODE(name, byte, operands, reloc) table[byte] = {#name, operands, reloc};
#include "VirtualMachine/Opcodes.def"
#undef OPCODE
    return table;
}();

// Two rows with one byte value would silently shadow each other: refuse to build instead.
consteval bool opcodeBytesAreUnique()
{
    std::array<int, 256> uses{};
#define OPCODE(name, byte, operands, reloc)                                                        \
    if (++uses[byte] > 1) return false;
#include "VirtualMachine/Opcodes.def"
#undef OPCODE
    return true;
}
static_assert(opcodeBytesAreUnique(), "two opcodes share a byte value");
static_assert(kOpInfo[14].mnemonic == "CALL" && kOpInfo[14].size() == 9);
static_assert(kOpInfo[117].mnemonic == "TRY" && kOpInfo[117].size() == 9);
static_assert(kOpInfo[146].size() == 7 && kOpInfo[17].size() == 6);
static_assert(!kOpInfo[56].valid() && !kOpInfo[186].valid());

// The opcode byte for a mnemonic, or -1.
constexpr int opcodeForMnemonic(std::string_view mnemonic)
{
    for (int i = 0; i < 256; ++i)
        if (kOpInfo[i].valid() && kOpInfo[i].mnemonic == mnemonic) return i;
    return -1;
}

} // namespace zelmo
