// SPDX-License-Identifier: MIT
// Group 10, Char: case mapping and classification of single UTF-16 code units (Qt's Unicode
// data, see OString.h; surrogate pairs are never combined) and the conversions between chars and
// ints.
#include "Containers/OString.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

namespace {

// A char argument is the low 16 bits of its slot.
char16_t charOf(int32_t word)
{
    return static_cast<char16_t>(static_cast<uint32_t>(word));
}

int32_t flag(bool value)
{
    return value ? 1 : 0;
}

} // namespace

void VirtualMachine::charNative(int operation)
{
    switch (operation) {
    case 1: // toLowerCaseAt(x, c): the slot below the character takes the result
        arg(1) = toLowerUnit(charOf(arg(0)));
        popWords(1);
        return;
    case 2: // toUpperCaseAt(x, c)
        arg(1) = toUpperUnit(charOf(arg(0)));
        popWords(1);
        return;
    case 3: // toLowerCase(c)
        arg(0) = toLowerUnit(charOf(arg(0)));
        return;
    case 4: // toUpperCase(c)
        arg(0) = toUpperUnit(charOf(arg(0)));
        return;
    case 5: // isLetter(c)
        arg(0) = flag(isLetterUnit(charOf(arg(0))));
        return;
    case 6: // isDigit(c): decimal digits of any script
        arg(0) = flag(isDigitUnit(charOf(arg(0))));
        return;
    case 7: // isWhitespace(c)
        arg(0) = flag(isSpaceUnit(charOf(arg(0))));
        return;
    case 8: { // toString(c)
        const char16_t unit = charOf(arg(0));
        arg(0) = static_cast<int32_t>(newString(OString(std::u16string_view(&unit, 1))));
        return;
    }
    case 9: // toChar(i)
        arg(0) = charOf(arg(0));
        return;
    default:
        unknownOperation("Char:");
    }
}

} // namespace zelmo
