// SPDX-License-Identifier: MIT
// The machine's side of collection: the roots only the machine can see. The operand stack is
// read exactly where a method's frame description says which slots hold references, and
// conservatively everywhere else; the globals block is read conservatively, word by word.
#include "VirtualMachine/VirtualMachine.h"

#include <algorithm>

namespace zelmo {

namespace {

bool isStackAddress(uint32_t value, uint32_t stackBase)
{
    return value >= stackBase &&
           uint64_t{value} < uint64_t{stackBase} + uint64_t{VirtualMachine::kStackScanWords} * 4;
}

} // namespace

void VirtualMachine::collectHeap()
{
    // The globals block is a root, but its words are untyped: mark what they point into.
    if (globalsHandle != 0) {
        for (int32_t i = 0; i < globalWords; ++i) {
            const uint32_t word = m_memory.load32(globalsHandle + 4u * static_cast<uint32_t>(i));
            if (word != 0) m_heap.markConservatively(word);
        }
    }
    m_heap.collect();
}

void VirtualMachine::markStackRoots()
{
    const int32_t top = std::min(m_sp, kStackScanWords - 1);
    // 64-bit: frame sizes come from the image and may be absurd.
    int64_t p = 0;
    auto exactCandidate = [&](int32_t index) {
        const uint32_t v = static_cast<uint32_t>(m_stack[index]);
        if (v == 0 || isStackAddress(v, m_stackBase)) return;
        if (v < kHeapEntryHeader || !m_memory.contains(v - kHeapEntryHeader, kHeapEntryHeader))
            return;
        const HeapEntry* entry = m_heap.belongsToPools(uint64_t{v} - kHeapEntryHeader);
        if (!entry) return;
        if (m_heap.handleOf(entry) != v || entry->gcCode < 1 || entry->gcCode > 17)
            fatalError("Invalid mem alloc gc code", m_pc);
        if (!entry->marked) m_heap.mark(v);
    };
    for (int32_t f = 0; f < calls.depth(); ++f) {
        const int32_t infoIndex = calls[f].gcInfo;
        if (infoIndex < 0 || infoIndex >= static_cast<int32_t>(gcInfos.size())) continue;
        const MethodGCInfo& info = gcInfos[static_cast<size_t>(infoIndex)];
        const int32_t start = calls[f].base;
        for (; p < start && p <= top; ++p)
            m_heap.markConservatively(static_cast<uint32_t>(m_stack[p]));
        if (p < 0) p = 0;
        for (int32_t k : info.conservativeReferenceSlots) {
            const int64_t i = int64_t{p} + k;
            if (i < 0 || i > top) continue;
            const uint32_t v = static_cast<uint32_t>(m_stack[i]);
            if (v == 0 || isStackAddress(v, m_stackBase)) continue;
            m_heap.markConservatively(v);
        }
        for (size_t j = 0; j < info.arrayPointerSlots.size(); ++j) {
            const int64_t i = int64_t{p} + info.arrayPointerSlots[j];
            if (i < 0 || i > top || m_stack[i] == 0) continue;
            m_heap.markArrayValue(static_cast<uint32_t>(m_stack[i]),
                                  j < info.arrayPointerElementIsReference.size() &&
                                      info.arrayPointerElementIsReference[j] != 0);
        }
        for (int32_t k : info.exactReferenceSlots) {
            const int64_t i = int64_t{p} + k;
            if (i >= 0 && i <= top) exactCandidate(static_cast<int32_t>(i));
        }
        for (size_t j = 0; j < info.inlineArraySlots.size(); ++j) {
            const int64_t i = int64_t{p} + info.inlineArraySlots[j];
            if (i < 0 || i + 1 > top || (m_stack[i] == 0 && m_stack[i + 1] == 0)) continue;
            m_heap.markArrayValue(m_stackBase + 4u * static_cast<uint32_t>(i),
                                  j < info.inlineArrayElementIsReference.size() &&
                                      info.inlineArrayElementIsReference[j] != 0);
        }
        p += int64_t{info.slotCount2} + info.slotCount1 + 1 + info.slotCount3;
    }
    for (p = std::max<int64_t>(p, 0); p <= top; ++p)
        m_heap.markConservatively(static_cast<uint32_t>(m_stack[p]));
}

void VirtualMachine::collectGarbage()
{
    markStackRoots();
    collectHeap();
}

} // namespace zelmo
