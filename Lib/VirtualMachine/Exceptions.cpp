// SPDX-License-Identifier: MIT
// Turning errors into the application's own exceptions: a recorded managed error becomes a call
// of the image's vminternalthrow, THROW looks for a matching handler through the class's
// parents, and an exception nothing catches goes to vmprintthrowableandexit.
#include "VirtualMachine/VirtualMachine.h"

#include <cstdio>

namespace zelmo {

void VirtualMachine::fatalError(const std::string& message, int32_t /*position*/)
{
    raiseFatal(message);
}

void VirtualMachine::enterFunction(int32_t handle, int32_t returnPc)
{
    const MethodHandle& h = handles[static_cast<size_t>(handle)];
    const ExportedMethod& method = methods[static_cast<size_t>(h.methodIndex)];
    const MethodEntry* entry = nullptr;
    for (const MethodEntry& e : method.entries) {
        if (e.classId == -1) {
            entry = &e;
            break;
        }
    }
    if (!entry || entry->codeAddress < 0 || entry->codeAddress >= codeSize)
        fatalError("Internal error: " + toUtf8(h.signature) + " has no code", m_pc);
    if (calls.full()) fatalError("Call stack overflow", m_pc);
    pushWord(returnPc);
    int32_t frameBase;
    if (!frameSizes.frameBase(entry->gcInfoIndex, m_sp, frameBase))
        fatalError("Internal error: invalid method info index", m_pc);
    calls.push(entry->gcInfoIndex, frameBase);
    m_pc = entry->codeAddress;
}

void VirtualMachine::raiseManagedException()
{
    int32_t code = lastErrorCode();
    if (code == kExit) throw InvocationOutcome{-1};
    if (code == kFatal) throw InvocationOutcome{-2};
    std::u16string text;
    if (code == 0) {
        code = kFatal;
        text = u"UNEXPECTED EXCEPTION";
    } else {
        text = lastErrorText();
    }
    clearError();
    if (internalThrowHandle < 0) {
        // The image cannot build exception objects: nothing can catch this, so say what it was.
        std::fprintf(stderr, "FATAL: uncaught %s\n", toUtf8(text).c_str());
        throw InvocationOutcome{-2};
    }
    const std::vector<int32_t> depths =
        handles[static_cast<size_t>(internalThrowHandle)].parameterDepths;
    const int32_t codeDepth = depths.size() > 0 ? depths[0] : 0;
    const int32_t textDepth = depths.size() > 1 ? depths[1] : 0;
    const uint32_t message = newString(OString(text));
    pushWord(convertDepth(codeDepth, code));
    pushWord(convertDepth(textDepth - 1, static_cast<int32_t>(message)));
    enterFunction(internalThrowHandle, m_pc + 1);
}

void VirtualMachine::throwObject(uint32_t exception, int32_t returnPc)
{
    const int32_t thrownClass = static_cast<int32_t>(m_memory.load32(exception));
    while (handlerCount >= 1) {
        const Handler h = handlers[static_cast<size_t>(handlerCount)];
        --handlerCount;
        bool match = false;
        int32_t c = thrownClass;
        // Bounded: a corrupt parent table must not loop for ever.
        for (size_t steps = 0; steps <= superClass.size(); ++steps) {
            if (h.classId < 1 || h.classId == c) {
                match = true;
                break;
            }
            if (c <= 0 || c >= static_cast<int32_t>(superClass.size())) break;
            c = superClass[static_cast<size_t>(c)];
            if (c <= 0) break;
        }
        if (match) {
            setSp(h.savedSp);
            pushWord(static_cast<int32_t>(exception));
            // Calls abandoned between the TRY and the THROW leave the call-info stacks too.
            calls.cut(h.callDepth);
            m_pc = h.position + 1;
            return;
        }
    }
    if (printThrowableAndExitHandle < 0) {
        std::fprintf(stderr, "FATAL: uncaught exception and no vmprintthrowableandexit\n");
        throw InvocationOutcome{-2};
    }
    const std::vector<int32_t>& depths =
        handles[static_cast<size_t>(printThrowableAndExitHandle)].parameterDepths;
    const int32_t depth = depths.empty() ? 0 : depths[0];
    pushWord(convertDepth(depth - 1, static_cast<int32_t>(exception)));
    enterFunction(printThrowableAndExitHandle, returnPc);
}

void VirtualMachine::releaseChecked(uint32_t handle)
{
    if (handle == 0) return;
    const HeapEntry* entry = handle >= kHeapEntryHeader
                                 ? m_heap.belongsToPools(uint64_t{handle} - kHeapEntryHeader)
                                 : nullptr;
    if (!entry || m_heap.handleOf(entry) != handle || entry->gcCode == GC_CODE_TERMINATOR)
        fatalError("Invalid handle released", m_pc);
    m_heap.release(handle); // an entry that is already free is reported and left alone
}

} // namespace zelmo
