// SPDX-License-Identifier: MIT
// Typed access to the operands of one drawing or geometry operation, so that each operation
// reads like its row. Operands are numbered from the first (deepest) word; a Position or Size
// takes two words, a Rectangle four, a Range two (start, count), a Fixed two (low word first).
// Every address, reference and handle goes through the machine's checked helpers: address 0
// is the "NULL pointer" error, an address outside guest memory the fatal error, and a forged
// record or font a VMException.
#pragma once

#include "Base/Errors.h"
#include "Utility/ORaw.h"
#include "VirtualMachine/VirtualMachine.h"
#include "graphics/GraphicsRecord.h"
#include "graphics/GuestGeometry.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelmo::graphics {

struct GuestSize {
    int32_t width = 0;
    int32_t height = 0;
};

// `count` consecutive words of a variable at a guest address, checked as a whole before use.
class GuestWords {
public:
    GuestWords(VirtualMachine& vm, uint32_t address, int count) : m_vm(vm), m_address(address)
    {
        vm.memory().bytes(address, 4 * uint64_t(count));
    }
    uint32_t address() const { return m_address; }
    int32_t get(int k) const { return static_cast<int32_t>(m_vm.loadWord(m_address + 4 * k)); }
    void set(int k, int32_t value) { m_vm.storeWord(m_address + 4 * k, uint32_t(value)); }

private:
    VirtualMachine& m_vm;
    uint32_t m_address;
};

class DrawingOperands {
public:
    // The operation takes `words` stack words; operand 0 is the deepest of them.
    DrawingOperands(VirtualMachine& vm, int words) : m_vm(vm), m_words(words) {}

    VirtualMachine& vm() { return m_vm; }
    int32_t& word(int i) { return m_vm.arg(m_words - 1 - i); }
    int32_t integer(int i) { return word(i); }
    uint32_t color(int i) { return static_cast<uint32_t>(word(i)); }
    GuestPoint position(int i) { return {word(i), word(i + 1)}; }
    GuestSize size(int i) { return {word(i), word(i + 1)}; }
    GuestRect rectangle(int i) { return {word(i), word(i + 1), word(i + 2), word(i + 3)}; }
    double fixed(int i)
    {
        const uint64_t low = static_cast<uint32_t>(word(i));
        const uint64_t high = static_cast<uint32_t>(word(i + 1));
        return ORaw::toDouble(static_cast<int64_t>((high << 32) | low));
    }
    // The variable of `count` words whose address is operand i ("addr", "&Color", ...).
    GuestWords variable(int i, int count = 1)
    {
        return GuestWords(m_vm, static_cast<uint32_t>(word(i)), count);
    }
    // A managed string; a null string raises "NULL pointer".
    OString& string(int i) { return m_vm.stringOf(static_cast<uint32_t>(word(i))); }
    // The bytes of the managed byte array whose address is operand i.
    std::vector<uint8_t> bytes(int i) { return m_vm.arrayBytes(static_cast<uint32_t>(word(i))); }

    // The record behind a `bmp` or `g` reference; none when the referenced cell holds null.
    std::optional<GraphicsRecord> record(int i)
    {
        const uint32_t handle = variable(i).get(0);
        if (handle == 0) return std::nullopt;
        return GraphicsRecord(m_vm.heap(), handle);
    }
    // The same where a null record is an error: "NULL pointer".
    GraphicsRecord requiredRecord(int i)
    {
        std::optional<GraphicsRecord> r = record(i);
        if (!r) throwError(kNullPointer, "NULL pointer");
        return *r;
    }
    // The font behind a `font` reference; null when the referenced cell holds null.
    CAppsFont* font(int i) { return fontAt(m_vm.heap(), variable(i).get(0)); }

    // The run (start, count) of `text` that the range at words i, i + 1 selects, validated
    // against the text's length as every string range is: a negative count runs to the end.
    struct Run {
        int32_t start;
        int32_t count;
    };
    Run run(int i, const OString& text)
    {
        const int32_t start = word(i), count = word(i + 1);
        if (start < 0) throwError(kRange);
        OString::Span span = text.from(start);
        if (count >= 0) {
            const int64_t to = int64_t{start} + count - 1; // past INT32_MAX is past any end
            span = {start, static_cast<int>(std::min<int64_t>(to, INT32_MAX))};
        }
        text.checkSpan(span);
        return {span.from, span.count()};
    }
    static Run whole(const OString& text) { return {0, text.length()}; }

    // ---- results ----
    // One word over the first operand; the others are popped.
    void returnInt(int32_t value)
    {
        word(0) = value;
        m_vm.popWords(m_words - 1);
    }
    void returnBool(bool value) { returnInt(value ? 1 : 0); }
    // Two words from the first operand on (the stack grows when the operation took one word).
    void returnPair(int32_t first, int32_t second)
    {
        m_vm.setSp(m_vm.sp() - (m_words - 2));
        m_vm.arg(1) = first;
        m_vm.arg(0) = second;
    }
    // An operation that only had effects: every operand is popped.
    void finish() { m_vm.popWords(m_words); }

private:
    VirtualMachine& m_vm;
    int m_words;
};

} // namespace zelmo::graphics
