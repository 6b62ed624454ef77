// SPDX-License-Identifier: MIT
// The host reaches bytecode only through method handles: a textual signature is matched
// against the images' method names, and invoke() converts the arguments to the depths the
// method declares, runs it, runs the calls that arrived meanwhile and collects garbage.
#include "VirtualMachine/VirtualMachine.h"

#include "VirtualMachine/KeyEvent.h"

namespace zelmo {

namespace {

// Splits a signature after every "<" and after a leading "(".
std::vector<std::u16string> signatureParts(const std::u16string& signature)
{
    std::vector<std::u16string> parts(1);
    for (size_t i = 0; i < signature.size(); ++i) {
        parts.back().push_back(signature[i]);
        if (signature[i] == u'<' || (i == 0 && signature[i] == u'(')) parts.emplace_back();
    }
    return parts;
}

// Matches the parts against a method name whose parameter depths are written as '*' runs
// after each part; fills the depths. The whole name must be used: "main" does not match
// "mainLoop".
bool matchName(const std::u16string& name, const std::vector<std::u16string>& parts,
               std::vector<int32_t>& depths)
{
    depths.clear();
    size_t pos = 0;
    for (size_t p = 0; p < parts.size(); ++p) {
        const std::u16string& part = parts[p];
        if (pos + part.size() > name.size() || name.compare(pos, part.size(), part) != 0)
            return false;
        pos += part.size();
        if (p + 1 < parts.size()) {
            int32_t depth = 0;
            while (pos + 1 < name.size() && name[pos] == u'*') {
                ++depth;
                ++pos;
            }
            depths.push_back(depth);
        }
    }
    return pos == name.size();
}

} // namespace

int32_t VirtualMachine::registerMethod(const std::u16string& signature, int32_t moduleIndex)
{
    const std::vector<std::u16string> parts = signatureParts(signature);
    std::vector<int32_t> depths;
    for (size_t i = 0; i < methods.size(); ++i) {
        ExportedMethod& method = methods[i];
        if (!(method.sharedSelector || method.moduleIndex == moduleIndex)) continue;
        if (!matchName(method.name, parts, depths)) continue;
        if (method.handleIndex >= 0) return method.handleIndex;
        MethodHandle handle;
        handle.hasResult = !signature.empty() && signature[0] == u'(';
        if (handle.hasResult && !depths.empty()) {
            handle.resultDepth = depths.front();
            depths.erase(depths.begin());
        }
        handle.parameterDepths = depths;
        handle.signature = signature;
        handle.methodIndex = static_cast<int32_t>(i);
        handles.push_back(std::move(handle));
        method.handleIndex = static_cast<int32_t>(handles.size() - 1);
        return method.handleIndex;
    }
    return -1;
}

void VirtualMachine::callMethod(int32_t handle, const std::vector<int32_t>& args,
                                const std::vector<int32_t>& kinds, int32_t resultKind)
{
    if (runningHandle != -1) {
        queue.push_back(
            std::make_unique<StoredMethodCall>(StoredMethodCall{handle, args, kinds, resultKind}));
        return;
    }
    invoke(handle, args, kinds, resultKind);
}

int32_t VirtualMachine::invoke(int32_t handle, const std::vector<int32_t>& args,
                               const std::vector<int32_t>& kinds, int32_t resultKind)
{
    if (runningHandle != -1) fatalError("VM concurrency error", -1);
    if (handle < 0 || handle >= static_cast<int32_t>(handles.size())) return 0;
    const MethodHandle h = handles[static_cast<size_t>(handle)];
    runningHandle = handle;
    int32_t result = 0;
    bool rooted = false;
    try {
        m_sp = 0;
        if (h.hasResult) {
            stackWord(0) = 0;
            m_sp = 1;
        }
        for (size_t i = 0; i < args.size(); ++i) {
            const int32_t depth = i < h.parameterDepths.size() ? h.parameterDepths[i] : 0;
            const int32_t kind = i < kinds.size() ? kinds[i] : 0;
            stackWord(m_sp) = convertDepth(depth - kind, args[i]);
            setSp(m_sp + 1);
        }
        const ExportedMethod& method = methods[static_cast<size_t>(h.methodIndex)];
        int32_t classId = -1;
        if (method.sharedSelector) {
            uint32_t v = static_cast<uint32_t>(stackWord(0));
            const int32_t depth = h.parameterDepths.empty() ? 0 : h.parameterDepths[0];
            for (int32_t i = 0; i < depth; ++i)
                v = m_memory.load32(v);
            classId = static_cast<int32_t>(v);
        }
        const MethodEntry* entry = nullptr;
        for (const MethodEntry& e : method.entries) {
            if (e.classId == classId) {
                entry = &e;
                break;
            }
        }
        if (entry && entry->codeAddress >= 0 && entry->codeAddress < codeSize &&
            entry->gcInfoIndex != -1) {
            calls.reset(entry->gcInfoIndex, 0);
            handlerCount = 0;
            stackWord(m_sp) = -1;
            m_pc = entry->codeAddress;
            for (;;) {
                try {
                    run();
                    break;
                } catch (const ErrorHandlingException&) {
                    raiseManagedException();
                } catch (const InvocationOutcome&) {
                    throw;
                } catch (const std::exception&) {
                    clearError();
                    raiseManagedException();
                }
            }
        }
        m_pc = -1;
        if (h.hasResult) {
            result = stackWord(0);
            if (h.resultDepth > 0 && result != 0) {
                m_heap.addRoot(static_cast<uint32_t>(result));
                rooted = true;
            }
        }
        collectHeap();
    } catch (...) {
        m_pc = -1;
        runningHandle = -1;
        throw;
    }
    runningHandle = -1;

    if (!queue.empty()) {
        std::unique_ptr<StoredMethodCall> next = std::move(queue.front());
        queue.pop_front();
        invoke(next->handle, next->args, next->kinds, next->resultKind);
    }
    if (rooted) m_heap.removeRoot(static_cast<uint32_t>(result));
    if (!h.hasResult) return 0;
    return convertDepth(resultKind - h.resultDepth, result);
}

void VirtualMachine::init(int32_t moduleIndex)
{
    struct Fixed {
        int32_t VirtualMachine::*field;
        const char16_t* signature;
    };
    static const Fixed kFixed[] = {
        {&VirtualMachine::initHandle, u"::global::init"},
        {&VirtualMachine::mainHandle, u"main"},
        {&VirtualMachine::timerEventHandle, u"<systemtimerlistener>.systemtimerevent"},
        {&VirtualMachine::drawHandle, u"<application>.draw to<canvas>"},
        {&VirtualMachine::keyPressedHandle, u"<application>.key pressed<keyevent>"},
        {&VirtualMachine::keyReleasedHandle, u"<application>.key released<keyevent>"},
        {&VirtualMachine::pointerEventHandle,
         u"<application>.pointer event<int>at x<int>y<int>modifiers<int>"},
        {&VirtualMachine::pointerPressedHandle, u"<application>.pointer pressed at<position>"},
        {&VirtualMachine::pointerDraggedHandle, u"<application>.pointer dragged to<position>"},
        {&VirtualMachine::pointerReleasedHandle, u"<application>.pointer released at<position>"},
        {&VirtualMachine::exitEventHandle, u"<application>.exit event"},
        {&VirtualMachine::foregroundHandle, u"<application>.foreground event"},
        {&VirtualMachine::backgroundHandle, u"<application>.background event"},
        {&VirtualMachine::orientationHandle,
         u"<screenorientationlistener>.screen orientation changed to<orientation>"},
        {&VirtualMachine::internalThrowHandle, u"vminternalthrow<int>,<string>"},
        {&VirtualMachine::printThrowableHandle, u"vmprintthrowable<throwable>"},
        {&VirtualMachine::printThrowableAndExitHandle, u"vmprintthrowableandexit<throwable>"},
    };
    for (const Fixed& fixed : kFixed)
        this->*fixed.field = registerMethod(fixed.signature, moduleIndex);
    if (mainHandle == -1) fatalError("'main' not found", -1);
    if (initHandle != -1) invoke(initHandle, {}, {}, -1);
    invoke(mainHandle, {}, {}, -1);
    collectHeap();
}

void VirtualMachine::sendKey(int32_t code, int32_t scanCode, int32_t extra,
                             const std::u16string& text, bool pressed)
{
    const int32_t handle = pressed ? keyPressedHandle : keyReleasedHandle;
    if (applicationObject == 0 || handle == -1) return;
    const uint32_t event = m_heap.createObject(
        std::make_unique<Tarnel::KeyEvent>(code, scanCode, extra, OString(text)), GC_CODE_NATIVE);
    callMethod(handle, {static_cast<int32_t>(applicationObject), static_cast<int32_t>(event)},
               {1, 0}, -1);
}

void VirtualMachine::sendPointerEvent(int32_t type, int32_t x, int32_t y, int32_t modifiers)
{
    if (applicationObject == 0 || pointerEventHandle == -1) return;
    callMethod(pointerEventHandle, {static_cast<int32_t>(applicationObject), type, x, y, modifiers},
               {1, 0, 0, 0, 0}, -1);
}

void VirtualMachine::sendForeground()
{
    if (foregroundHandle != -1)
        callMethod(foregroundHandle, {static_cast<int32_t>(applicationObject)}, {1}, -1);
}

void VirtualMachine::sendBackground()
{
    if (backgroundHandle != -1)
        callMethod(backgroundHandle, {static_cast<int32_t>(applicationObject)}, {1}, -1);
}

void VirtualMachine::sendExitEvent()
{
    if (exitEventHandle != -1)
        callMethod(exitEventHandle, {static_cast<int32_t>(applicationObject)}, {1}, -1);
}

void VirtualMachine::sendSystemTimerEvent(uint32_t listener)
{
    if (timerEventHandle != -1)
        callMethod(timerEventHandle, {static_cast<int32_t>(listener)}, {1}, -1);
}

void VirtualMachine::sendDraw(uint32_t canvas)
{
    if (applicationObject == 0 || drawHandle == -1) return;
    callMethod(drawHandle, {static_cast<int32_t>(applicationObject), static_cast<int32_t>(canvas)},
               {1, 0}, -1);
}

void VirtualMachine::sendOrientation(uint32_t listener, int32_t orientation)
{
    if (orientationHandle != -1)
        callMethod(orientationHandle, {static_cast<int32_t>(listener), orientation}, {1, 0}, -1);
}

} // namespace zelmo
