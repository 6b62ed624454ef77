// SPDX-License-Identifier: MIT
// The virtual machine: guest memory, heap, object table, the tables of every loaded image, the
// operand stack and the interpreter state. Whoever runs an application owns its machine (the
// host's application session); the machine is entered only from the thread that owns it.
//
// Stack words are 32 bits. stack[i] lives at guest address stackBase() + 4i; an "address"
// word is a guest address (of a stack slot, a field, a global or a box).
#pragma once

#include "Base/Errors.h"
#include "Containers/OString.h"
#include "Utility/MersenneTwister.h"
#include "VirtualMachine/CallStack.h"
#include "VirtualMachine/FrameSizes.h"
#include "VirtualMachine/FrameworkServices.h"
#include "VirtualMachine/GuestMemory.h"
#include "VirtualMachine/MethodCache.h"
#include "VirtualMachine/ObjectTable.h"
#include "VirtualMachine/VMHeap.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelmo {

namespace TARNEL {
class InputStream;
}

// One loaded image.
struct BytecodeStruct {
    std::u16string name;
    std::array<uint8_t, 20> identity{};
    int32_t codeBase = 0;
    int32_t codeSize = 0;
};

struct MethodEntry {
    int32_t classId;     // -1 for a plain function
    int32_t codeAddress; // into the machine's code array
    int32_t gcInfoIndex; // into the method-info table; -1: none
};

// A named function, or a selector that several classes implement.
struct ExportedMethod {
    int32_t moduleIndex = 0;
    std::vector<MethodEntry> entries;
    std::u16string name;
    int32_t sharedSelector = 0; // 1 for a selector called virtually
    int32_t handleIndex = -1;   // MethodHandle made for it, -1 until registered
};

// A method's stack frame, for the collector. Offsets count from the first word of the frame.
struct MethodGCInfo {
    int32_t unused = 0;
    int32_t slotCount1 = 0;
    std::vector<int32_t> conservativeReferenceSlots;
    std::vector<int32_t> arrayPointerSlots;
    std::vector<uint8_t> arrayPointerElementIsReference; // 0 or 255
    int32_t slotCount2 = 0;
    int32_t slotCount3 = 0;
    std::vector<int32_t> exactReferenceSlots;
    std::vector<int32_t> inlineArraySlots;
    std::vector<uint8_t> inlineArrayElementIsReference;
};

struct MethodHandle {
    int32_t hasResult = 0;
    int32_t resultDepth = 0;
    std::u16string signature;
    std::vector<int32_t> parameterDepths;
    int32_t methodIndex = -1; // into the method table
};

struct StoredMethodCall {
    int32_t handle;
    std::vector<int32_t> args;
    std::vector<int32_t> kinds;
    int32_t resultKind;
};

// How an invocation ended without a result; escapes invoke() to the host.
struct InvocationOutcome {
    int32_t value; // -1: the application asked to exit; -2: fatal error
};

class MVMCallbackInterface {
public:
    virtual ~MVMCallbackInterface() = default;
    virtual int32_t registerMethod(const std::u16string& signature, int32_t moduleIndex) = 0;
    virtual void callMethod(int32_t handle, const std::vector<int32_t>& args,
                            const std::vector<int32_t>& kinds, int32_t resultKind) = 0;
    // Reports a condition the application cannot handle (message, code position or -1);
    // raises the fatal managed error.
    [[noreturn]] virtual void fatalError(const std::string& message, int32_t position) = 0;
    virtual VMHeap& heap() = 0;
    virtual int32_t convertDepth(int32_t depth, int32_t value, int32_t boxCode) = 0;
    virtual uint32_t wrapHostValue(std::unique_ptr<GCObject> object, int32_t code) = 0;
    virtual void collectGarbage() = 0;
};

class VirtualMachine : public MVMCallbackInterface, public InterfaceForCallingGc {
public:
    static constexpr int32_t kStackWords = 15256;
    static constexpr int32_t kStackScanWords = 15000; // words the collector treats as stack
    static constexpr int32_t kHandlerSlots = 128;     // index 0 unused
    static constexpr int32_t kMaxCallDepth = 1 << 20;
    static constexpr uint32_t kDefaultPoolSize = 64000;
    static constexpr int kCodePadding = 16; // invalid-opcode bytes after the code

    VirtualMachine();
    ~VirtualMachine() override;
    VirtualMachine(const VirtualMachine&) = delete;
    VirtualMachine& operator=(const VirtualMachine&) = delete;

    // ---- loading (ImageLoader.cpp) ----
    // Reads the image and runs its entry points. Malformed images: fatal "Error while reading
    // bytecode".
    void load(TARNEL::InputStream& stream, const std::u16string& moduleName,
              FrameworkServices* host);
    // 1 on success (moduleIndex set), 0 when the image is malformed (`reason`, when given, then
    // says what was wrong and at which byte).
    int readBytecode(const std::u16string& moduleName, TARNEL::InputStream& stream,
                     int32_t& moduleIndex, std::string* reason = nullptr);

    // ---- entry points (EntryPoints.cpp) ----
    int32_t registerMethod(const std::u16string& signature, int32_t moduleIndex) override;
    void callMethod(int32_t handle, const std::vector<int32_t>& args,
                    const std::vector<int32_t>& kinds, int32_t resultKind) override;
    int32_t invoke(int32_t handle, const std::vector<int32_t>& args,
                   const std::vector<int32_t>& kinds, int32_t resultKind);
    void init(int32_t moduleIndex);
    void sendKey(int32_t code, int32_t scanCode, int32_t extra, const std::u16string& text,
                 bool pressed);
    void sendPointerEvent(int32_t type, int32_t x, int32_t y, int32_t modifiers);
    void sendForeground();
    void sendBackground();
    void sendSystemTimerEvent(uint32_t listener);
    void sendDraw(uint32_t canvas);
    void sendOrientation(uint32_t listener, int32_t orientation);
    void sendExitEvent();

    // ---- errors (Exceptions.cpp) ----
    [[noreturn]] void fatalError(const std::string& message, int32_t position) override;

    // ---- heap and collection (Collector.cpp) ----
    VMHeap& heap() override { return m_heap; }
    void collectGarbage() override;
    int32_t convertDepth(int32_t depth, int32_t value,
                         int32_t boxCode = GC_CODE_REFERENCE) override;
    uint32_t wrapHostValue(std::unique_ptr<GCObject> object, int32_t code) override;

    // ---- interpreter (Interpreter.cpp) ----
    void run();

    // ---- helpers for natives ----
    GuestMemory& memory() { return m_memory; }
    ObjectTable& objects() { return m_objects; }
    FrameworkServices* host() const { return m_host; }
    void setHost(FrameworkServices* host) { m_host = host; }
    int32_t pc() const { return m_pc; }
    int32_t sp() const { return m_sp; }
    void setSp(int32_t sp);
    uint32_t stackBase() const { return m_stackBase; }
    // stack[index], bounds-checked against the operand stack.
    int32_t& stackWord(int32_t index)
    {
        if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kStackWords)) [[unlikely]]
            stackFault(index);
        return reinterpret_cast<int32_t*>(m_stack)[index];
    }
    // Operand helpers for natives: arg(0) is the top word, arg(1) the one below it, ...
    int32_t& arg(int k) { return stackWord(m_sp - k); }
    uint32_t argU(int k) { return static_cast<uint32_t>(stackWord(m_sp - k)); }
    // Drops n words.
    void popWords(int n) { setSp(m_sp - n); }
    void pushWord(int32_t value)
    {
        setSp(m_sp + 1);
        stackWord(m_sp) = value;
    }
    // The word at a guest address; 0 raises the "NULL pointer" error.
    uint32_t loadWord(uint32_t address) { return m_memory.load32(address); }
    void storeWord(uint32_t address, uint32_t value) { m_memory.store32(address, value); }
    [[noreturn]] void stackFault(int32_t index);
    // The interpreter's fault paths: they publish the position (ip one past the instruction's
    // last operand byte) and the stack index, then raise. Out of line and cold, so the dispatch
    // loop keeps its state in registers and passes it by value only when it faults.
    [[noreturn, gnu::cold, gnu::noinline]] void faultAt(const uint8_t* ip, int32_t sp,
                                                        const char* message);
    [[noreturn, gnu::cold, gnu::noinline]] void stackFaultAt(const uint8_t* ip, int32_t sp,
                                                             int32_t index);
    // A new string value (box handle) holding `text`.
    uint32_t newString(const OString& text);
    // The OString behind a string value (box handle); null box: "NULL pointer". In line: every
    // String operation starts here.
    OString& stringOf(uint32_t box)
    {
        const uint32_t string = m_memory.load32(box);
        if (string == 0) [[unlikely]]
            throwError(kNullPointer, "NULL pointer");
        return m_objects.get<OString>(m_memory.load32(string));
    }
    // ---- array values (ArrayValues.cpp) ----
    // An array value is two words {vector handle, element size}; natives take arrays by the
    // address of such a value. The vector is a GC_CODE_VECTOR entry laid out as VectorLayout
    // says; its elements live in a GC_CODE_NATIVE entry.
    // A new vector of `count` zeroed elements of `elementSize` bytes (capacity max(10, 1.2n)).
    uint32_t newVector(uint32_t elementSize, int32_t count);
    // A new array object: a vector and its 8-byte array box made together (vector first); the
    // box (GC_CODE_PRIMITIVE_ARRAY, or GC_CODE_OBJECT_ARRAY for references) holds
    // {vector, element size}. Returns the box, which is itself the address of an array value.
    uint32_t newArrayObject(uint32_t elementSize, int32_t count, bool references);
    uint32_t newByteArray(const uint8_t* data, size_t count);
    // The vector of the array value at `arrayAddress`; a null address or an array without a
    // vector raises "NULL pointer".
    uint32_t vectorOf(uint32_t arrayAddress);
    int32_t vectorLength(uint32_t vector)
    {
        return static_cast<int32_t>(m_memory.load32(vector + VectorLayout::kSize));
    }
    // Host view of a vector's elements (count * element size bytes, checked); null if empty.
    uint8_t* vectorElements(uint32_t vector);
    // Copies of byte-array contents, and the length of any array.
    std::vector<uint8_t> arrayBytes(uint32_t arrayAddress);
    int32_t arrayLength(uint32_t arrayAddress) { return vectorLength(vectorOf(arrayAddress)); }

    // ---- native groups: one file each under natives/, bound in CoreNatives.cpp ----
    // Calls the handler bound to the operation (NativeRegistry.h).
    void dispatchNative(int group, int operation);
    // A call nobody answers: the fatal error for a number that is not a group, else the
    // group's unknown-operation error.
    [[noreturn]] void nativeCallFailed(int group, int operation);
    template <class TYPE, int SIZE> void vectorNative(int operation, bool bPrimitive);
    void stringNative(int operation);
    void charNative(int operation);
    void fixedNative(int operation);
    void longNative(int operation);
    void rangeNative(int operation);
    void outputStreamNative(int operation);
    void fileWriterNative(int operation);
    void inputStreamNative(int operation);
    void fileReaderNative(int operation);
    void fileSystemNative(int operation);
    void mathNative(int operation);
    void numberNative(int operation);
    void encoderNative(int operation);
    void dateTimeNative(int operation);
    void debugNative(int operation);
    void systemNative(int operation);
    void timerNative(int operation);
    void hashNative(int operation);
    void keyEventNative(int operation);
    void floatNative(int operation);
    // The unknown-operation error of a group: code 10, prefix + the instruction position.
    [[noreturn]] void unknownOperation(const char* prefix);
    // The same with the operation number instead of the position (groups whose message says
    // "invalid opcode").
    [[noreturn]] void unknownOperation(const char* prefix, int operation);
    // The host services; natives that need them fail cleanly when the machine runs without a
    // host (as in unit tests).
    FrameworkServices& requireHost();
    // The Math group's generator, seeded from the processor clock on first use.
    MersenneTwister& random();

    // ---- loaded tables (filled by the loader) ----
    std::vector<BytecodeStruct> modules;
    std::vector<uint8_t> code;        // all modules' code, then kCodePadding invalid-opcode bytes
    int32_t codeSize = 0;             // bytes of real code in `code`
    std::vector<uint8_t> nativeSites; // per byte of `code`: the NativeSite of a NATIVE there
    // What the loaded code can reach, read off its instructions (both name their target in the
    // instruction itself): each NATIVE's group << 8 | operation byte, sorted and unique, and
    // each extension id an EXTCALL names. The host decides from them what to start.
    std::vector<uint16_t> nativeOperationsUsed;
    std::bitset<256> extensionsUsed;
    // Computed-goto builds: per byte of `code`, the handler that runs there (Interpreter.cpp).
    std::vector<const void*> threadedCode;
    std::vector<ExportedMethod> methods;
    std::vector<MethodGCInfo> gcInfos;
    FrameSizes frameSizes; // per method info, in step with gcInfos
    std::vector<std::vector<int32_t>> classRefFields;
    std::vector<std::vector<int32_t>> classArrayFields;
    std::vector<std::vector<uint8_t>> classArrayHoldsRefs;
    std::vector<int32_t> superClass; // -1: none; -2: row never filled
    int32_t maxClassId = 0;
    std::vector<OString> stringPool;
    uint32_t globalsHandle = 0;
    int32_t globalWords = 0;

    // ---- entry-point state ----
    std::vector<MethodHandle> handles;
    std::deque<std::unique_ptr<StoredMethodCall>> queue;
    int32_t runningHandle = -1;
    uint32_t applicationObject = 0;
    int32_t initHandle = -1, mainHandle = -1, timerEventHandle = -1, drawHandle = -1,
            keyPressedHandle = -1, keyReleasedHandle = -1, pointerEventHandle = -1,
            pointerPressedHandle = -1, pointerDraggedHandle = -1, pointerReleasedHandle = -1,
            exitEventHandle = -1, foregroundHandle = -1, backgroundHandle = -1,
            orientationHandle = -1, internalThrowHandle = -1, printThrowableHandle = -1,
            printThrowableAndExitHandle = -1;

    // ---- interpreter state ----
    struct Handler {
        int32_t classId;
        int32_t savedSp;
        int32_t position;
        int32_t callDepth; // call-info depth when the TRY ran; cut back to it on a catch
    };
    std::array<Handler, kHandlerSlots> handlers{};
    int32_t handlerCount = 0;
    CallStack calls{kMaxCallDepth};
    MethodCache virtualTargets; // CALLV's lookups that succeeded

private:
    // Calls vminternalthrow for the recorded error, or ends the invocation (exit/fatal).
    void raiseManagedException();
    // THROW: resumes at a matching handler or calls vmprintthrowableandexit; sets m_pc/m_sp.
    void throwObject(uint32_t exception, int32_t returnPc);
    // FREE: releases a handle after checking that it names an entry in use.
    void releaseChecked(uint32_t handle);
    // Collects the heap (after an entry call): the globals' words are marked first.
    void collectHeap();
    void enterFunction(int32_t handle, int32_t returnPc);
    void markStackRoots();

    GuestMemory m_memory;
    ObjectTable m_objects;
    VMHeap m_heap;
    FrameworkServices* m_host = nullptr;
    uint32_t m_stackBase = 0;
    uint32_t* m_stack = nullptr; // host view of the operand stack
    int32_t m_pc = -1;
    int32_t m_sp = 0;
    std::optional<MersenneTwister> m_random;
};

} // namespace zelmo
