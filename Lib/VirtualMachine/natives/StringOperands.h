// SPDX-License-Identifier: MIT
// Typed access to the operands of one String-group operation, so that each operation reads
// like its row: operands are numbered from the first (deepest) one, a range (start, count)
// takes two words, and results go where the group puts them (over the first operand).
#pragma once

#include "VirtualMachine/VirtualMachine.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace zelmo {

class StringOperands {
public:
    // The operation takes `words` stack words; operand 0 is the deepest of them.
    StringOperands(VirtualMachine& vm, int words) : m_vm(vm), m_words(words) {}

    int32_t& word(int i) { return m_vm.arg(m_words - 1 - i); }
    int32_t integer(int i) { return word(i); }
    // A string box; a null box raises "NULL pointer".
    OString& string(int i) { return m_vm.stringOf(static_cast<uint32_t>(word(i))); }
    // A character word (its low 16 bits) as a one-unit string.
    OString character(int i)
    {
        const char16_t c = unit(i);
        return OString(std::u16string_view(&c, 1));
    }
    char16_t unit(int i) { return static_cast<char16_t>(word(i) & 0xFFFF); }
    // A string operand, or a character standing in its place.
    OString text(int i, bool isCharacter) { return isCharacter ? character(i) : string(i); }
    // Non-zero compares exactly; 0 ignores case.
    CaseSensitivity caseFlag(int i) { return word(i) != 0 ? CaseSensitive : CaseInsensitive; }
    int32_t rangeStart(int i) { return word(i); }
    int32_t rangeCount(int i) { return word(i + 1); }
    // The range (start, count) at words i, i + 1 as a span of `of`: count >= 0 selects
    // start..start + count - 1 (so (0, 0) is the empty span), a negative count runs to the end.
    // A negative start is a RangeException; the span itself is checked by the operation.
    OString::Span span(int i, const OString& of)
    {
        const int32_t start = rangeStart(i);
        const int32_t count = rangeCount(i);
        if (start < 0) throwError(kRange);
        if (count < 0) return of.from(start);
        const int64_t to = int64_t{start} + count - 1; // past INT_MAX is past any string's end
        return {start, static_cast<int>(std::min<int64_t>(to, INT_MAX))};
    }
    // The box of a destination operand (null: "NULL pointer").
    uint32_t destination(int i)
    {
        const uint32_t box = static_cast<uint32_t>(word(i));
        if (box == 0) throwError(kNullPointer, "NULL pointer");
        return box;
    }

    // ---- results ----
    // An int (or character, or 1/0) over the first operand; the others are popped.
    void returnInt(int32_t value)
    {
        word(0) = value;
        m_vm.popWords(m_words - 1);
    }
    void returnBool(bool value) { returnInt(value ? 1 : 0); }
    // A new string value over the first operand.
    void returnString(const OString& text)
    {
        returnInt(static_cast<int32_t>(m_vm.newString(text)));
    }
    // A new array of new strings over the first operand. The array is on the stack before its
    // strings are made, so it stays reachable while they are.
    void returnStrings(const std::vector<OString>& pieces)
    {
        const uint32_t array = m_vm.newArrayObject(4, static_cast<int32_t>(pieces.size()), true);
        returnInt(static_cast<int32_t>(array));
        if (pieces.empty()) return;
        const uint32_t elements = m_vm.loadWord(m_vm.vectorOf(array) + VectorLayout::kData);
        for (size_t k = 0; k < pieces.size(); ++k)
            m_vm.storeWord(elements + 4 * static_cast<uint32_t>(k), m_vm.newString(pieces[k]));
    }
    // Gives the destination box a new string object holding `text`; pops every operand.
    void initialise(uint32_t box, const OString& text)
    {
        const uint32_t string =
            m_vm.heap().createObject(std::make_unique<OString>(text), GC_CODE_STRING);
        m_vm.storeWord(box, string);
        finish();
    }
    // An operation that edited its first operand: every operand is popped.
    void finish() { m_vm.popWords(m_words); }

private:
    VirtualMachine& m_vm;
    int m_words;
};

} // namespace zelmo
