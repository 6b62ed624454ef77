// SPDX-License-Identifier: MIT
// The machine's lifetime and the small helpers every native uses.
#include "VirtualMachine/VirtualMachine.h"

#include "VirtualMachine/NativeRegistry.h"

#include <string>

namespace zelmo {

namespace {
// Words of accessible slack on both sides of the operand stack: an instruction may look a few
// words beyond the top before the interpreter's range check catches the new stack index.
constexpr uint32_t kStackGuardWords = 64;
} // namespace

VirtualMachine::VirtualMachine()
    : m_heap(m_memory, m_objects, this, kDefaultPoolSize,
             ClassFieldTables{&classRefFields, &classArrayFields, &classArrayHoldsRefs})
{
    registerCoreNatives();
    const uint32_t region = m_memory.allocate((kStackWords + 2 * kStackGuardWords) * 4ull, 8);
    m_stackBase = region + kStackGuardWords * 4;
    m_stack = m_memory.words(m_stackBase, kStackWords);
    code.assign(kCodePadding, 0xFF);
    superClass.push_back(-2); // class ids start at 1
    classRefFields.emplace_back();
    classArrayFields.emplace_back();
    classArrayHoldsRefs.emplace_back();
}

VirtualMachine::~VirtualMachine()
{
    // Release every remaining object so that each release action runs (files are closed and
    // flushed) before the memory goes away.
    try {
        m_heap.sweep();
    } catch (const ErrorHandlingException&) {
        // A corrupted heap cannot be swept further; the arena is unmapped anyway.
    }
}

void VirtualMachine::setSp(int32_t sp)
{
    // -1 is the empty stack (after the outermost return).
    if (sp < -1 || sp >= kStackWords) [[unlikely]]
        stackFault(sp);
    m_sp = sp;
}

void VirtualMachine::stackFault(int32_t index)
{
    if (index >= kStackWords) raiseFatal("Operand stack overflow");
    raiseFatal("Operand stack underflow (index " + std::to_string(index) + ")");
}

uint32_t VirtualMachine::newString(const OString& text)
{
    const auto [string, box] =
        m_heap.createHeapEntryPair(8, -1, GC_CODE_STRING, 4, 0, GC_CODE_REFERENCE);
    const uint32_t index = m_objects.add(std::make_unique<OString>(text));
    m_memory.store32(string, index);
    m_memory.store32(box, string);
    return box;
}

int32_t VirtualMachine::convertDepth(int32_t depth, int32_t value, int32_t boxCode)
{
    if (depth == 0) return value;
    if (depth < 0 && depth >= -3) {
        uint32_t v = static_cast<uint32_t>(value);
        for (int i = 0; i < -depth; ++i)
            v = m_memory.load32(v);
        return static_cast<int32_t>(v);
    }
    if (depth > 0 && depth <= 3) {
        uint32_t v = static_cast<uint32_t>(value);
        for (int i = 0; i < depth; ++i) {
            const uint32_t box = m_heap.allocate(4, 0, boxCode);
            m_memory.store32(box, v);
            v = box;
        }
        return static_cast<int32_t>(v);
    }
    return 0;
}

uint32_t VirtualMachine::wrapHostValue(std::unique_ptr<GCObject> object, int32_t code)
{
    return m_heap.createObject(std::move(object), code);
}

} // namespace zelmo
