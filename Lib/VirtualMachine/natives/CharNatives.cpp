// SPDX-License-Identifier: MIT
// Group 10, Char: case mapping and classification of single UTF-16 code units (Qt's Unicode
// tables; surrogate pairs are never combined) and the conversions between chars and ints.
#include "VirtualMachine/VirtualMachine.h"

#include <QChar>

namespace zelmo {

namespace {

// A char argument is the low 16 bits of its slot.
QChar charOf(int32_t word)
{
    return QChar(static_cast<char16_t>(static_cast<uint32_t>(word)));
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
        arg(1) = charOf(arg(0)).toLower().unicode();
        popWords(1);
        return;
    case 2: // toUpperCaseAt(x, c)
        arg(1) = charOf(arg(0)).toUpper().unicode();
        popWords(1);
        return;
    case 3: // toLowerCase(c)
        arg(0) = charOf(arg(0)).toLower().unicode();
        return;
    case 4: // toUpperCase(c)
        arg(0) = charOf(arg(0)).toUpper().unicode();
        return;
    case 5: // isLetter(c)
        arg(0) = flag(charOf(arg(0)).isLetter());
        return;
    case 6: // isDigit(c): decimal digits of any script
        arg(0) = flag(charOf(arg(0)).isDigit());
        return;
    case 7: // isWhitespace(c)
        arg(0) = flag(charOf(arg(0)).isSpace());
        return;
    case 8: { // toString(c)
        const char16_t unit = charOf(arg(0)).unicode();
        arg(0) = static_cast<int32_t>(newString(OString(std::u16string_view(&unit, 1))));
        return;
    }
    case 9: // toChar(i)
        arg(0) = charOf(arg(0)).unicode();
        return;
    default:
        unknownOperation("Char:");
    }
}

} // namespace zelmo
