// SPDX-License-Identifier: MIT
// The dispatch loop. pc and sp live in locals; when an instruction raises a managed error, the
// catch at the bottom publishes them (pc = the instruction's last operand byte, as the error
// handling expects) before the error travels on to invoke().
//
// Stack safety: every instruction moves sp by a bounded amount, and the operand stack has
// accessible slack on both sides, so the single range check at dispatch catches any escape
// before the next instruction can use it. Instructions that move sp by a variable amount or
// index the stack by an operand check before they touch it.
#include "VirtualMachine/VirtualMachine.h"

#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/NativeSites.h"
#include "VirtualMachine/Opcodes.h"
#include "VirtualMachine/natives/GuestVector.h"

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(__GNUC__) && !defined(ZELMO_SWITCH_DISPATCH)
#define ZELMO_COMPUTED_GOTO 1
#else
#define ZELMO_COMPUTED_GOTO 0
#endif

namespace zelmo {

namespace {

inline int16_t readI16(const uint8_t*& ip)
{
    int16_t v;
    std::memcpy(&v, ip, 2);
    ip += 2;
    return v;
}

inline int32_t readI32(const uint8_t*& ip)
{
    int32_t v;
    std::memcpy(&v, ip, 4);
    ip += 4;
    return v;
}

inline int32_t wrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t divide(int32_t a, int32_t b)
{
    if (b == 0) [[unlikely]]
        throwError(kDivisionByZero);
    if (b == -1) return wrapSub(0, a); // the most negative value stays itself
    return a / b;
}

inline int32_t modulo(int32_t a, int32_t b)
{
    if (b == 0) [[unlikely]]
        throwError(kDivisionByZero);
    if (b == -1) return 0;
    return a % b;
}

inline int32_t divide8(int32_t a, int32_t b)
{
    if (static_cast<int8_t>(b) == 0) [[unlikely]]
        throwError(kDivisionByZero, "Division by zero.");
    return static_cast<int8_t>(a) / static_cast<int8_t>(b);
}

inline int32_t modulo8(int32_t a, int32_t b)
{
    if (static_cast<int8_t>(b) == 0) [[unlikely]]
        throwError(kDivisionByZero, "Division by zero.");
    return static_cast<int8_t>(a) % static_cast<int8_t>(b);
}

// Word shifts: counts above 31 give 0; a negative count shifts the other way.
inline int32_t shiftLeft(int32_t v, int32_t c)
{
    if (c > 31) return 0;
    if (c >= 0) return static_cast<int32_t>(static_cast<uint32_t>(v) << c);
    const int64_t m = -int64_t{c};
    return m > 31 ? 0 : v >> m;
}

inline int32_t shiftRight(int32_t v, int32_t c)
{
    if (c > 31) return 0;
    if (c >= 0) return v >> c;
    const int64_t m = -int64_t{c};
    return m > 31 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(v) << m);
}

#if ZELMO_COMPUTED_GOTO
struct DispatchTarget {
    uint8_t byte;
    const void* label;
};
using DispatchTable = std::array<const void*, 256>;

template <size_t N>
DispatchTable makeDispatchTable(const void* invalid, const DispatchTarget (&targets)[N])
{
    DispatchTable table;
    table.fill(invalid);
    for (const DispatchTarget& target : targets)
        table[target.byte] = target.label;
    return table;
}

// A run of two to thirteen instructions that one handler runs (see run()); Op::NOP ends a
// shorter run. `accepts`, when set, also asks for a relation between the run's operands or
// for more code where its jump leads (the run starts at code[at]; code[0 .. codeLimit) is
// real code).
struct Fusion {
    std::array<Op, 13> ops;
    const void* label;
    bool (*accepts)(const std::vector<uint8_t>& code, size_t at, int32_t codeLimit) = nullptr;
};

// The ten-instruction loop bodies below: the count-down's DEC and its exit test name the same
// local (LOCADDR8 k at byte 11, LDLOC8 k at byte 14 of the run).
bool countsDownOneLocal(const std::vector<uint8_t>& code, size_t at, int32_t)
{
    return code[at + 12] == code[at + 15];
}

// Whether code[at] starts the instructions `ops` (up to the first Op::NOP), all in the code,
// with the targets of their JZ16 and JMP16 in the code (0 to codeLimit).
bool startsRun(const std::vector<uint8_t>& code, size_t at, int32_t codeLimit,
               const std::array<Op, 13>& ops)
{
    for (const Op op : ops) {
        if (op == Op::NOP) break;
        const size_t size = static_cast<size_t>(kOpInfo[uint8_t(op)].size());
        if (at + size > code.size() || code[at] != uint8_t(op)) return false;
        if (op == Op::JZ16 || op == Op::JMP16) {
            int16_t d;
            std::memcpy(&d, &code[at + 1], 2);
            const int64_t target = int64_t(at) + 2 + d;
            if (target < 0 || target > codeLimit) return false;
        }
        at += size;
    }
    return true;
}

// Whole counting loops over a global int array (run() runs each in one handler): the test,
// the body, the step, the jump back.
constexpr std::array<Op, 13> kSumLoop = {
    Op::LDLOC8, Op::PUSH32, Op::LT,     Op::JZ16,     Op::LOCADDR8, Op::PUSHGLOBALS, Op::LDLOC8,
    Op::NATIVE, Op::LOAD,   Op::ADDSET, Op::LOCADDR8, Op::INC,      Op::JMP16};
constexpr std::array<Op, 13> kFillLoop = {
    Op::LDLOC8, Op::PUSH32, Op::LT,       Op::JZ16, Op::PUSHGLOBALS, Op::LDLOC8, Op::NATIVE,
    Op::LDLOC8, Op::STORE,  Op::LOCADDR8, Op::INC,  Op::JMP16,       Op::NOP};

// LOCADDR8; INC; JMP16 whose jump leads to a loop test: LDLOC8; PUSH32; the comparison;
// JZ16, all in the code, with the JZ16's target in the code too. Not when the test starts a
// whole loop: that loop's handler is cheaper to come back to.
template <Op comparison>
bool stepsToLoopTest(const std::vector<uint8_t>& code, size_t at, int32_t codeLimit)
{
    int16_t d;
    std::memcpy(&d, &code[at + 4], 2);
    const int64_t test = int64_t(at) + 5 + d;
    if (test < 0 || test + 11 > codeLimit ||
        !startsRun(code, size_t(test), codeLimit, {Op::LDLOC8, Op::PUSH32, comparison, Op::JZ16}))
        return false;
    return !startsRun(code, size_t(test), codeLimit, kSumLoop) &&
           !startsRun(code, size_t(test), codeLimit, kFillLoop);
}

// One handler per code byte: the one its byte value selects, or the fused handler where the
// byte starts a run of kFusions whose instructions all lie in the code and whose JZ16 and JMP16
// lead into the code (0 to codeLimit), so their handlers need not check the targets (the last
// match wins, so longer runs are listed after the runs they extend). Matching every byte (not
// only instruction starts) is sound because a fused handler does exactly what its instructions
// would. The code only grows, and grown code is threaded again, so a target inside stays inside.
template <size_t N>
void threadCode(std::vector<const void*>& threaded, const std::vector<uint8_t>& code,
                int32_t codeLimit, const DispatchTable& targets, const Fusion (&fusions)[N])
{
    threaded.resize(code.size());
    for (size_t pc = 0; pc < code.size(); ++pc) {
        threaded[pc] = targets[code[pc]];
        for (const Fusion& fusion : fusions) {
            if (startsRun(code, pc, codeLimit, fusion.ops) &&
                (!fusion.accepts || fusion.accepts(code, pc, codeLimit)))
                threaded[pc] = fusion.label;
        }
    }
}
#endif

// Whether i indexes v. Compares byte offsets: the element count would cost a division by the
// element size on every call.
template <typename T> inline bool indexes(const std::vector<T>& v, int32_t i)
{
    const auto bytes = reinterpret_cast<const char*>(std::to_address(v.end())) -
                       reinterpret_cast<const char*>(v.data());
    return i >= 0 && static_cast<size_t>(i) * sizeof(T) < static_cast<size_t>(bytes);
}

inline bool validGcCode(int code)
{
    return code >= 1 && code <= 17 && code != 8;
}

} // namespace

void VirtualMachine::faultAt(const uint8_t* ip, int32_t sp, const char* message)
{
    m_pc = static_cast<int32_t>(ip - code.data()) - 1;
    m_sp = sp;
    VirtualMachine::fatalError(message, m_pc); // not virtual: known not to return
}

void VirtualMachine::stackFaultAt(const uint8_t* ip, int32_t sp, int32_t index)
{
    m_pc = static_cast<int32_t>(ip - code.data()) - 1;
    m_sp = sp;
    stackFault(index);
}

void VirtualMachine::run()
{
    const uint8_t* const codeStart = code.data();
    int32_t* const S = reinterpret_cast<int32_t*>(m_stack);
    GuestMemory& mem = m_memory;
    // The kind of every NATIVE site, bound at load (NativeSites.h); one byte per code byte.
    const uint8_t* const sites = nativeSites.data();
    const uint8_t* ip = codeStart + m_pc;
    int32_t sp = m_sp;
    bool inNative = false;
    // Element addresses skip the vector's full check while its words are unchanged.
    CheckedVectorCache vectors(4);

    // No register holds the position of the instruction being run: at a handler's start ip is
    // one past its opcode byte (OPCODE_BYTE()), and once its operands are read ip is the next
    // instruction (HERE()), whose position is a return address and from which jump distances
    // count (a jump leads to the position of its last operand byte plus the distance).
#define OPCODE_BYTE() (ip[-1])
#define HERE() (static_cast<int32_t>(ip - codeStart))
#define JUMP_BY(d) JUMP_TO(int64_t{HERE()} - 1 + (d))
#define I8() (static_cast<int8_t>(*ip++))
#define U8() (*ip++)
#define I16() (readI16(ip))
#define I32() (readI32(ip))
#define SYNC() (m_pc = static_cast<int32_t>(ip - codeStart) - 1, m_sp = sp)
#define FAULT(message) faultAt(ip, sp, message)
#define STACK_FAULT(index) stackFaultAt(ip, sp, index)
    // Guest words are read through a cached base and limit: the arena never moves and only
    // grows, so a stale limit can only refuse too much; the slow path re-reads it before it
    // reports an error.
    uint8_t* const base = mem.hostAddress(0);
    // One unsigned compare: an address below the null region wraps round to a huge offset.
    uint64_t wordSpan = mem.top() - GuestMemory::kFirstUsable - 4;
    auto checkWord = [&](uint32_t a) {
        if (uint32_t(a - GuestMemory::kFirstUsable) > wordSpan) [[unlikely]] {
            wordSpan = mem.top() - GuestMemory::kFirstUsable - 4;
            if (uint32_t(a - GuestMemory::kFirstUsable) > wordSpan) mem.reject(a, 4);
        }
    };
    auto loadWord = [&](uint32_t a) {
        checkWord(a);
        int32_t v;
        std::memcpy(&v, base + a, 4);
        return v;
    };
    auto storeWord = [&](uint32_t a, int32_t v) {
        checkWord(a);
        std::memcpy(base + a, &v, 4);
    };
#define LD(a) (loadWord(static_cast<uint32_t>(a)))
#define ST(a, v) (storeWord(static_cast<uint32_t>(a), static_cast<int32_t>(v)))
#define NULL_CHECK(a)                                                                              \
    do {                                                                                           \
        if ((a) == 0) [[unlikely]]                                                                 \
            throwError(kNullPointer, "NULL pointer");                                              \
    } while (0)
    // Index a stack slot named by an operand.
#define SLOT(index)                                                                                \
    (*({                                                                                           \
        const int64_t i_ = (index);                                                                \
        if (i_ < 0 || i_ >= kStackWords) [[unlikely]] {                                            \
            STACK_FAULT(static_cast<int32_t>(i_));                                                 \
        }                                                                                          \
        S + i_;                                                                                    \
    }))
    // One unsigned compare: a negative target wraps round above the code.
#define JUMP_TO(target)                                                                            \
    do {                                                                                           \
        const int64_t t_ = (target);                                                               \
        if (static_cast<uint64_t>(t_) > static_cast<uint64_t>(codeSize)) [[unlikely]] {            \
            FAULT("Internal error: jump outside the code");                                        \
        }                                                                                          \
        ip = codeStart + t_;                                                                       \
    } while (0)

    // The call bookkeeping CALL and CALLV share: the method-info index of the callee (negative:
    // none) and the base of its frame, which starts below its slots and the return slot at sp.
#define ENTER_FRAME(gcInfo)                                                                        \
    do {                                                                                           \
        const int32_t g_ = (gcInfo);                                                               \
        if (calls.full()) [[unlikely]] {                                                           \
            FAULT("Call stack overflow");                                                          \
        }                                                                                          \
        int32_t frameBase_;                                                                        \
        if (!frameSizes.frameBase(g_, sp, frameBase_)) [[unlikely]] {                              \
            FAULT("Internal error: invalid method info index");                                    \
        }                                                                                          \
        calls.push(g_, frameBase_);                                                                \
    } while (0)

    // The effects of the instructions that fused runs chain: each handler and each run that
    // contains the instruction expands the same text, so a run computes, checks and faults
    // exactly as its instructions do one by one.
#define DO_LDLOC8()                                                                                \
    do {                                                                                           \
        const int32_t k_ = I8();                                                                   \
        const int32_t v_ = SLOT(int64_t{sp} + 1 + k_);                                             \
        S[++sp] = v_;                                                                              \
    } while (0)
#define DO_LOCADDR8()                                                                              \
    do {                                                                                           \
        const int32_t k_ = I8();                                                                   \
        S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(sp + 1 + k_));   \
        ++sp;                                                                                      \
    } while (0)
#define DO_FLDADDR8()                                                                              \
    do {                                                                                           \
        const int32_t k_ = I8();                                                                   \
        NULL_CHECK(S[sp]);                                                                         \
        S[sp] = wrapAdd(S[sp], wrapMul(4, k_));                                                    \
    } while (0)
#define DO_LOAD() (S[sp] = LD(S[sp]))
#define DO_STORE() (ST(S[sp - 1], S[sp]), sp -= 2)
#define DO_PUSH32() (S[sp + 1] = I32(), ++sp)
#define DO_PUSH0() (S[++sp] = 0)
#define DO_DUP() (S[sp + 1] = S[sp], ++sp)
#define DO_PUSHGLOBALS() (S[++sp] = static_cast<int32_t>(globalsHandle))
#define DO_STEP(delta) (ST(S[sp], wrapAdd(LD(S[sp]), (delta))), --sp)
#define DO_BINARY(expr)                                                                            \
    do {                                                                                           \
        const int32_t x = S[sp - 1];                                                               \
        const int32_t y = S[sp];                                                                   \
        S[sp - 1] = (expr);                                                                        \
        --sp;                                                                                      \
    } while (0)
#define DO_COMPOUND(expr)                                                                          \
    do {                                                                                           \
        const int32_t a = S[sp - 1];                                                               \
        const int32_t x = LD(a);                                                                   \
        const int32_t y = S[sp];                                                                   \
        ST(a, (expr));                                                                             \
        sp -= 2;                                                                                   \
    } while (0)
    // Calls and returns always leave the run.
#define DO_CALL()                                                                                  \
    do {                                                                                           \
        const int32_t address_ = I32();                                                            \
        const int32_t gcInfo_ = I32();                                                             \
        ++sp;                                                                                      \
        ENTER_FRAME(gcInfo_);                                                                      \
        S[sp] = HERE();                                                                            \
        JUMP_TO(address_);                                                                         \
        NEXT();                                                                                    \
    } while (0)
    // A virtual call: the implementation remembered for the selector and the receiver's class
    // (MethodCache: checked when remembered, so only the call depth can fail), else the full
    // lookup, which faults as it always has and remembers a target that passes every check.
#define DO_CALLV()                                                                                 \
    do {                                                                                           \
        const int32_t selector_ = I32();                                                           \
        const int32_t classId_ = S[sp];                                                            \
        S[sp] = HERE();                                                                            \
        if (const CallTarget* known_ = virtualTargets.find(selector_, classId_)) {                 \
            if (calls.full()) [[unlikely]] {                                                       \
                FAULT("Call stack overflow");                                                      \
            }                                                                                      \
            calls.push(known_->gcInfo, wrapSub(sp, known_->frameWords));                           \
            ip = codeStart + known_->codeAddress;                                                  \
            NEXT();                                                                                \
        }                                                                                          \
        if (!indexes(methods, selector_)) [[unlikely]] {                                           \
            FAULT("Internal error: invalid selector");                                             \
        }                                                                                          \
        const MethodEntry* target_ = nullptr;                                                      \
        for (const MethodEntry& entry_ : methods[static_cast<size_t>(selector_)].entries) {        \
            if (entry_.classId == classId_) {                                                      \
                target_ = &entry_;                                                                 \
                break;                                                                             \
            }                                                                                      \
        }                                                                                          \
        if (!target_) [[unlikely]] {                                                               \
            FAULT("Invalid type in virtual method call");                                          \
        }                                                                                          \
        const MethodEntry entryFound_ = *target_;                                                  \
        ENTER_FRAME(entryFound_.gcInfoIndex);                                                      \
        JUMP_TO(entryFound_.codeAddress);                                                          \
        virtualTargets.remember(selector_, classId_,                                               \
                                {entryFound_.codeAddress, entryFound_.gcInfoIndex,                 \
                                 wrapSub(sp, calls[calls.depth() - 1].base)});                     \
        NEXT();                                                                                    \
    } while (0)
#define DO_RET()                                                                                   \
    do {                                                                                           \
        const int32_t a_ = I32();                                                                  \
        const int32_t n_ = I32();                                                                  \
        if (!calls.pop()) [[unlikely]] {                                                           \
            FAULT("Internal error: return without a call");                                        \
        }                                                                                          \
        const int32_t returnAddress_ = SLOT(int64_t{sp} - a_);                                     \
        const int64_t newSp_ = int64_t{sp} - n_;                                                   \
        if (newSp_ < -1 || newSp_ >= kStackWords) [[unlikely]] {                                   \
            STACK_FAULT(static_cast<int32_t>(newSp_ < 0 ? -2 : kStackWords));                      \
        }                                                                                          \
        sp = static_cast<int32_t>(newSp_);                                                         \
        /* The return address is a stack word the callee may have overwritten: one compare     */  \
        /* accepts the code (0 to codeSize); below it, a negative address returns to the host. */  \
        if (static_cast<uint32_t>(returnAddress_) > static_cast<uint32_t>(codeSize))               \
            [[unlikely]] {                                                                         \
            if (returnAddress_ < 0) {                                                              \
                m_pc = -1;                                                                         \
                m_sp = sp;                                                                         \
                return;                                                                            \
            }                                                                                      \
            FAULT("Internal error: jump outside the code");                                        \
        }                                                                                          \
        ip = codeStart + returnAddress_;                                                           \
        DISPATCH(); /* sp was checked above */                                                     \
    } while (0)
    // JZ16 and JMP16 leave the run when they jump.
#define DO_ELEMENT_REF()                                                                           \
    (S[sp - 1] = static_cast<int32_t>(                                                             \
         vectors.elementAddress(mem, m_heap, static_cast<uint32_t>(LD(S[sp - 1])), S[sp])),        \
     --sp)
#define DO_JZ16()                                                                                  \
    do {                                                                                           \
        const int32_t d_ = I16();                                                                  \
        if (S[sp--] == 0) {                                                                        \
            JUMP_BY(d_);                                                                           \
            NEXT();                                                                                \
        }                                                                                          \
    } while (0)
#define DO_JMP16()                                                                                 \
    do {                                                                                           \
        const int32_t d_ = I16();                                                                  \
        JUMP_BY(d_);                                                                               \
        NEXT();                                                                                    \
    } while (0)
    // Every instruction starts with sp inside the stack (an escape faults as stack_fault).
#define STACK_CHECK()                                                                              \
    do {                                                                                           \
        if (static_cast<uint32_t>(sp + 1) > static_cast<uint32_t>(kStackWords)) [[unlikely]]       \
            goto stack_fault;                                                                      \
    } while (0)

#if ZELMO_COMPUTED_GOTO
    // Every byte value gets a target; bytes that are not opcodes go to the invalid-opcode
    // handler. Label addresses only exist inside this function, so the table is a function
    // static, built once on the first run (thread-safe static initialisation).
    static const DispatchTarget kOpcodeTargets[] = {
#define OPCODE(name, byte, operands, reloc) {byte, &&op_##name},
#include "VirtualMachine/Opcodes.def"
#undef OPCODE
    };
    static const DispatchTable kTargets = makeDispatchTable(&&op_invalid, kOpcodeTargets);
    // The commonest pairs in loops and calls (counters, constant operands, loop conditions).
    // A fused handler runs its pair when the pair cannot fault and otherwise continues in its
    // first instruction's own handler: faults, their pcs and the stack stay as unfused.
    static const Fusion kFusions[] = {
        {{Op::LOCADDR8, Op::INC, Op::NOP, Op::NOP, Op::NOP}, &&fused_LOCADDR8_INC},
        {{Op::LOCADDR8, Op::DEC, Op::NOP, Op::NOP, Op::NOP}, &&fused_LOCADDR8_DEC},
        {{Op::LDLOC8, Op::JZ16, Op::NOP, Op::NOP, Op::NOP}, &&fused_LDLOC8_JZ16},
        {{Op::PUSH32, Op::ADD, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_ADD},
        {{Op::PUSH32, Op::SUB, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_SUB},
        {{Op::PUSH32, Op::MUL, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_MUL},
        {{Op::PUSH32, Op::MOD, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_MOD},
        {{Op::PUSH32, Op::AND, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_AND},
        {{Op::PUSH32, Op::EQ, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_EQ},
        {{Op::PUSH32, Op::NE, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_NE},
        {{Op::PUSH32, Op::LT, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_LT},
        {{Op::PUSH32, Op::LE, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_LE},
        {{Op::PUSH32, Op::GT, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_GT},
        {{Op::PUSH32, Op::GE, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSH32_GE},
        // Loop and branch conditions: a comparison with a constant and the branch on it.
        {{Op::PUSH32, Op::EQ, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_EQ_JZ16},
        {{Op::PUSH32, Op::NE, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_NE_JZ16},
        {{Op::PUSH32, Op::LT, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_LT_JZ16},
        {{Op::PUSH32, Op::LE, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_LE_JZ16},
        {{Op::PUSH32, Op::GT, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_GT_JZ16},
        {{Op::PUSH32, Op::GE, Op::JZ16, Op::NOP, Op::NOP}, &&fused_PUSH32_GE_JZ16},
        // The ends of counting loops: the exit test on a local, the step and the jump back.
        {{Op::LDLOC8, Op::JZ16, Op::JMP16, Op::NOP, Op::NOP}, &&fused_LDLOC8_JZ16_JMP16},
        {{Op::LOCADDR8, Op::INC, Op::JMP16, Op::NOP, Op::NOP}, &&fused_LOCADDR8_INC_JMP16},
        {{Op::LOCADDR8, Op::DEC, Op::JMP16, Op::NOP, Op::NOP}, &&fused_LOCADDR8_DEC_JMP16},
        // The same on a local, and arithmetic on a local and a constant (arguments, indices).
        {{Op::LDLOC8, Op::PUSH32, Op::EQ, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_EQ_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::NE, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_NE_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::LT, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_LT_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::LE, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_LE_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::GT, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_GT_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::GE, Op::JZ16, Op::NOP}, &&fused_LDLOC8_PUSH32_GE_JZ16},
        {{Op::LDLOC8, Op::PUSH32, Op::ADD, Op::NOP, Op::NOP}, &&fused_LDLOC8_PUSH32_ADD},
        {{Op::LDLOC8, Op::PUSH32, Op::SUB, Op::NOP, Op::NOP}, &&fused_LDLOC8_PUSH32_SUB},
        // Runs chained from the instructions' own effects (see DO_LDLOC8 and the rest): the
        // end of a counting-down loop, assignments to locals, global fields, stores through an
        // address, int array elements and an element added to a variable.
        {{Op::LOCADDR8, Op::DEC, Op::LDLOC8, Op::JZ16, Op::JMP16}, &&fused_COUNT_DOWN_LOOP},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::ADD, Op::STORE}, &&fused_LOCAL_ADD_STORE},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::SUB, Op::STORE}, &&fused_LOCAL_SUB_STORE},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::AND, Op::STORE}, &&fused_LOCAL_AND_STORE},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::ADD, Op::ADDSET}, &&fused_LOCAL_ADD_ADDSET},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::SUB, Op::ADDSET}, &&fused_LOCAL_SUB_ADDSET},
        {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::AND, Op::ADDSET}, &&fused_LOCAL_AND_ADDSET},
    // A loop body ending in such an assignment, then the count-down.
#define ASSIGN_COUNT_DOWN(op, set)                                                                 \
    {{Op::LOCADDR8, Op::LDLOC8, Op::PUSH32, Op::op, Op::set, Op::LOCADDR8, Op::DEC, Op::LDLOC8,    \
      Op::JZ16, Op::JMP16},                                                                        \
     &&fused_LOCAL_##op##_##set##_COUNT_DOWN,                                                      \
     countsDownOneLocal}
        ASSIGN_COUNT_DOWN(ADD, STORE),
        ASSIGN_COUNT_DOWN(SUB, STORE),
        ASSIGN_COUNT_DOWN(AND, STORE),
        ASSIGN_COUNT_DOWN(ADD, ADDSET),
        ASSIGN_COUNT_DOWN(SUB, ADDSET),
        ASSIGN_COUNT_DOWN(AND, ADDSET),
#undef ASSIGN_COUNT_DOWN
        {{Op::LOCADDR8, Op::PUSH32, Op::STORE, Op::NOP, Op::NOP}, &&fused_LOCADDR8_PUSH32_STORE},
        {{Op::LOCADDR8, Op::LDLOC8, Op::STORE, Op::NOP, Op::NOP}, &&fused_LOCADDR8_LDLOC8_STORE},
        {{Op::LOCADDR8, Op::PUSH0, Op::NOP, Op::NOP, Op::NOP}, &&fused_LOCADDR8_PUSH0},
        {{Op::PUSHGLOBALS, Op::FLDADDR8, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSHGLOBALS_FLDADDR8},
        {{Op::PUSHGLOBALS, Op::FLDADDR8, Op::LOAD, Op::NOP, Op::NOP},
         &&fused_PUSHGLOBALS_FLDADDR8_LOAD},
        {{Op::PUSHGLOBALS, Op::LDLOC8, Op::NOP, Op::NOP, Op::NOP}, &&fused_PUSHGLOBALS_LDLOC8},
        {{Op::ADD, Op::LOAD, Op::NOP, Op::NOP, Op::NOP}, &&fused_ADD_LOAD},
        {{Op::ADD, Op::STORE, Op::NOP, Op::NOP, Op::NOP}, &&fused_ADD_STORE},
        {{Op::DUP, Op::LOAD, Op::NOP, Op::NOP, Op::NOP}, &&fused_DUP_LOAD},
        {{Op::LDLOC8, Op::STORE, Op::NOP, Op::NOP, Op::NOP}, &&fused_LDLOC8_STORE},
        {{Op::NATIVE, Op::LOAD, Op::NOP, Op::NOP, Op::NOP}, &&fused_NATIVE_LOAD},
        {{Op::LDLOC8, Op::NATIVE, Op::LOAD, Op::NOP, Op::NOP}, &&fused_LDLOC8_NATIVE_LOAD},
        {{Op::NATIVE, Op::LDLOC8, Op::STORE, Op::NOP, Op::NOP}, &&fused_NATIVE_LDLOC8_STORE},
        {{Op::NATIVE, Op::LOAD, Op::ADDSET, Op::NOP, Op::NOP}, &&fused_NATIVE_LOAD_ADDSET},
        // Calls with their last argument, virtual calls with the receiver's class, and returns
        // with the result's store.
        {{Op::LDLOC8, Op::PUSH32, Op::ADD, Op::CALL, Op::NOP}, &&fused_LDLOC8_PUSH32_ADD_CALL},
        {{Op::LDLOC8, Op::PUSH32, Op::SUB, Op::CALL, Op::NOP}, &&fused_LDLOC8_PUSH32_SUB_CALL},
        {{Op::LDLOC8, Op::CALL, Op::NOP, Op::NOP, Op::NOP}, &&fused_LDLOC8_CALL},
        // The same after the result slot (PUSH0) and the address the result goes to.
        {{Op::PUSH0, Op::LDLOC8, Op::PUSH32, Op::SUB, Op::CALL}, &&fused_PUSH0_SUB_CALL},
        {{Op::LOCADDR8, Op::PUSH0, Op::LDLOC8, Op::PUSH32, Op::SUB, Op::CALL},
         &&fused_LOCADDR8_PUSH0_SUB_CALL},
        {{Op::DUP, Op::LOAD, Op::CALLV, Op::NOP, Op::NOP}, &&fused_DUP_LOAD_CALLV},
        {{Op::STORE, Op::RET, Op::NOP, Op::NOP, Op::NOP}, &&fused_STORE_RET},
        {{Op::ADD, Op::STORE, Op::RET, Op::NOP, Op::NOP}, &&fused_ADD_STORE_RET},
        {{Op::LOCADDR8, Op::PUSH32, Op::STORE, Op::RET, Op::NOP},
         &&fused_LOCADDR8_PUSH32_STORE_RET},
        {{Op::LOCADDR8, Op::LDLOC8, Op::STORE, Op::RET, Op::NOP},
         &&fused_LOCADDR8_LDLOC8_STORE_RET},
        // Int array elements in a global: one added to a local, one set from a local.
        {{Op::LOCADDR8, Op::PUSHGLOBALS, Op::LDLOC8, Op::NATIVE, Op::LOAD, Op::ADDSET},
         &&fused_ADD_GLOBAL_ELEMENT},
        {{Op::PUSHGLOBALS, Op::LDLOC8, Op::NATIVE, Op::LDLOC8, Op::STORE},
         &&fused_SET_GLOBAL_ELEMENT},
        // The step of a counting-up loop with the loop test its jump leads to.
        {{Op::LOCADDR8, Op::INC, Op::JMP16}, &&fused_STEP_TO_LT, stepsToLoopTest<Op::LT>},
        {{Op::LOCADDR8, Op::INC, Op::JMP16}, &&fused_STEP_TO_LE, stepsToLoopTest<Op::LE>},
        {{Op::LOCADDR8, Op::INC, Op::JMP16}, &&fused_STEP_TO_NE, stepsToLoopTest<Op::NE>},
        // Whole counting loops over a global int array: the test, a body of the two runs
        // above, the step, and the jump back to the test.
        {kSumLoop, &&fused_SUM_GLOBAL_ELEMENTS},
        {kFillLoop, &&fused_FILL_GLOBAL_ELEMENTS},
    };
    // Prepared again whenever the code grew (a module was loaded since the last run).
    if (threadedCode.size() != code.size())
        threadCode(threadedCode, code, codeSize, kTargets, kFusions);
    // The handler of the byte at ip, found from ip alone (one register instead of two).
    const uintptr_t threadBias = reinterpret_cast<uintptr_t>(threadedCode.data()) -
                                 reinterpret_cast<uintptr_t>(codeStart) * sizeof(void*);
#define CASE(name) op_##name:
#define INVALID                                                                                    \
    op_invalid:
#define NEXT()                                                                                     \
    do {                                                                                           \
        STACK_CHECK();                                                                             \
        DISPATCH();                                                                                \
    } while (0)
    // NEXT() for the fused runs that have checked where sp ends.
#define DISPATCH()                                                                                 \
    do {                                                                                           \
        goto** reinterpret_cast<const void* const*>(                                               \
            threadBias + reinterpret_cast<uintptr_t>(ip++) * sizeof(void*));                       \
    } while (0)
#define LOOP NEXT();
#else
#define CASE(name) case Op::name:
#define INVALID default:
#define NEXT() goto dispatch
#define DISPATCH() goto dispatch
#define LOOP                                                                                       \
    dispatch:                                                                                      \
    STACK_CHECK();                                                                                 \
    switch (static_cast<Op>(*ip++))
#endif

    try {
        LOOP
        {
            CASE(NOP) NEXT();
            CASE(LDLOC8)
            {
                DO_LDLOC8();
                NEXT();
            }
            CASE(LDLOC32)
            {
                const int32_t k = I32();
                const int32_t v = SLOT(int64_t{sp} + 1 + k);
                S[++sp] = v;
                NEXT();
            }
            CASE(LOCADDR8)
            {
                DO_LOCADDR8();
                NEXT();
            }
            CASE(LOCADDR32)
            {
                const int32_t k = I32();
                S[sp + 1] = static_cast<int32_t>(
                    m_stackBase + 4u * (static_cast<uint32_t>(sp + 1) + static_cast<uint32_t>(k)));
                ++sp;
                NEXT();
            }
            CASE(FLDADDR8)
            {
                DO_FLDADDR8();
                NEXT();
            }
            CASE(FLDADDR32)
            {
                const int32_t k = I32();
                NULL_CHECK(S[sp]);
                S[sp] = wrapAdd(S[sp], wrapMul(4, k));
                NEXT();
            }
            CASE(LOAD)
            {
                DO_LOAD();
                NEXT();
            }
            CASE(FRAME8)
            CASE(FRAME32)
            {
                const int32_t n =
                    (OPCODE_BYTE() == static_cast<uint8_t>(Op::FRAME8)) ? I8() : I32();
                const int64_t newSp = int64_t{sp} + n;
                if (newSp < -1 || newSp >= kStackWords) [[unlikely]] {
                    STACK_FAULT(static_cast<int32_t>(newSp < 0 ? -2 : kStackWords));
                }
                if (n > 0) std::memset(S + sp + 1, 0, static_cast<size_t>(n) * 4);
                sp = static_cast<int32_t>(newSp);
                NEXT();
            }
            CASE(JZ16)
            {
                DO_JZ16();
                NEXT();
            }
            CASE(JZ32)
            {
                const int32_t d = I32();
                if (S[sp--] == 0) JUMP_BY(d);
                NEXT();
            }
            CASE(JMP16)
            {
                DO_JMP16();
            }
            CASE(JMP32)
            {
                const int32_t d = I32();
                JUMP_BY(d);
                NEXT();
            }
            CASE(CALL) DO_CALL();
            CASE(CALLV) DO_CALLV();
            CASE(RET) DO_RET();
            CASE(NEW)
            {
                const int gc = U8();
                const int32_t words = I32();
                if (!validGcCode(gc) || words < 0 || words > (1 << 28)) [[unlikely]] {
                    FAULT(validGcCode(gc) ? "Invalid mem alloc size" : "Invalid mem alloc gc code");
                }
                const uint32_t handle = m_heap.allocate(static_cast<uint32_t>(words) * 4, 0, gc);
                S[++sp] = static_cast<int32_t>(handle);
                NEXT();
            }
            CASE(DUP)
            {
                DO_DUP();
                NEXT();
            }
            CASE(NOT)
            {
                S[sp] = S[sp] == 0 ? -1 : 0;
                NEXT();
            }
            CASE(PUSH32)
            {
                DO_PUSH32();
                NEXT();
            }
            CASE(PUSHSTR)
            {
                const int32_t index = I32();
                if (index < 0 || index >= static_cast<int32_t>(stringPool.size())) [[unlikely]] {
                    FAULT("Internal error: invalid string index");
                }
                const uint32_t box = newString(stringPool[static_cast<size_t>(index)]);
                S[++sp] = static_cast<int32_t>(box);
                NEXT();
            }
            CASE(SETCLASS)
            {
                const int32_t classId = I32();
                ST(S[sp], classId);
                --sp;
                NEXT();
            }
            CASE(STORE)
            CASE(STORE2)
            {
                DO_STORE();
                NEXT();
            }
            CASE(STOREZ)
            {
                ST(S[sp], 0);
                --sp;
                NEXT();
            }
            CASE(ADD)
            {
                S[sp - 1] = wrapAdd(S[sp - 1], S[sp]);
                --sp;
                NEXT();
            }
            CASE(SUB)
            {
                S[sp - 1] = wrapSub(S[sp - 1], S[sp]);
                --sp;
                NEXT();
            }
            CASE(MUL)
            {
                S[sp - 1] = wrapMul(S[sp - 1], S[sp]);
                --sp;
                NEXT();
            }
            CASE(DIV)
            {
                S[sp - 1] = divide(S[sp - 1], S[sp]);
                --sp;
                NEXT();
            }
            CASE(MOD)
            {
                S[sp - 1] = modulo(S[sp - 1], S[sp]);
                --sp;
                NEXT();
            }
            CASE(NEG)
            {
                S[sp] = wrapSub(0, S[sp]);
                NEXT();
            }
            CASE(INC)
            {
                DO_STEP(1);
                NEXT();
            }
            CASE(DEC)
            {
                DO_STEP(-1);
                NEXT();
            }
#define COMPOUND(name, expr)                                                                       \
    CASE(name)                                                                                     \
    {                                                                                              \
        DO_COMPOUND(expr);                                                                         \
        NEXT();                                                                                    \
    }
            COMPOUND(ADDSET, wrapAdd(x, y))
            COMPOUND(SUBSET, wrapSub(x, y))
            COMPOUND(MULSET, wrapMul(x, y))
            COMPOUND(DIVSET, divide(x, y))
            COMPOUND(MODSET, modulo(x, y))
            COMPOUND(ANDSET, x & y)
            COMPOUND(ORSET, x | y)
            COMPOUND(XORSET, x ^ y)
            COMPOUND(SHLSET, shiftLeft(x, y))
            COMPOUND(SHRSET, shiftRight(x, y))
#undef COMPOUND
#define BINARY(name, expr)                                                                         \
    CASE(name)                                                                                     \
    {                                                                                              \
        DO_BINARY(expr);                                                                           \
        NEXT();                                                                                    \
    }
            BINARY(EQ, x == y ? -1 : 0)
            BINARY(LT, x < y ? -1 : 0)
            BINARY(LE, x <= y ? -1 : 0)
            BINARY(NE, x != y ? -1 : 0)
            BINARY(GT, x > y ? -1 : 0)
            BINARY(GE, x >= y ? -1 : 0)
            BINARY(AND, x & y)
            BINARY(OR, x | y)
            BINARY(XOR, x ^ y)
            BINARY(SHL, shiftLeft(x, y))
            BINARY(SHR, shiftRight(x, y))
            BINARY(LAND, (x != 0 && y != 0) ? -1 : 0)
            BINARY(LOR, (x != 0 || y != 0) ? -1 : 0)
            BINARY(LXOR, ((x != 0) != (y != 0)) ? -1 : 0)
            BINARY(BEQ, ((x != 0) == (y != 0)) ? 1 : 0)
            BINARY(BNE, ((x != 0) != (y != 0)) ? 1 : 0)
            BINARY(DIV8, divide8(x, y))
            BINARY(MOD8, modulo8(x, y))
            BINARY(SHL8, (y & 255) >= 32
                             ? 0
                             : static_cast<int32_t>(static_cast<uint32_t>(static_cast<int8_t>(x))
                                                    << (y & 255)))
            BINARY(SHR8, (y & 255) >= 32 ? (static_cast<int8_t>(x) < 0 ? -1 : 0)
                                         : static_cast<int8_t>(x) >> (y & 255))
            BINARY(EQ8, static_cast<uint8_t>(x) == static_cast<uint8_t>(y) ? -1 : 0)
            BINARY(NE8, static_cast<uint8_t>(x) != static_cast<uint8_t>(y) ? -1 : 0)
            BINARY(LT8, static_cast<int8_t>(x) < static_cast<int8_t>(y) ? -1 : 0)
            BINARY(LE8, static_cast<int8_t>(x) <= static_cast<int8_t>(y) ? -1 : 0)
            BINARY(GT8, static_cast<int8_t>(x) > static_cast<int8_t>(y) ? -1 : 0)
            BINARY(GE8, static_cast<int8_t>(x) >= static_cast<int8_t>(y) ? -1 : 0)
            BINARY(EQ16, static_cast<uint16_t>(x) == static_cast<uint16_t>(y) ? -1 : 0)
            BINARY(NE16, static_cast<uint16_t>(x) != static_cast<uint16_t>(y) ? -1 : 0)
            BINARY(LT16, static_cast<int16_t>(x) < static_cast<int16_t>(y) ? -1 : 0)
            BINARY(LE16, static_cast<int16_t>(x) <= static_cast<int16_t>(y) ? -1 : 0)
            BINARY(GT16, static_cast<int16_t>(x) > static_cast<int16_t>(y) ? -1 : 0)
            BINARY(GE16, static_cast<int16_t>(x) >= static_cast<int16_t>(y) ? -1 : 0)
#undef BINARY
            CASE(ITOS)
            {
                const uint32_t box = newString(OString::fromInt(S[sp]));
                S[sp] = static_cast<int32_t>(box);
                NEXT();
            }
            CASE(TOBYTE)
            {
                S[sp] &= 255;
                NEXT();
            }
            CASE(PUSHTRUE)
            CASE(PUSHTRUE2)
            {
                S[++sp] = -1;
                NEXT();
            }
            CASE(PUSH0)
            {
                DO_PUSH0();
                NEXT();
            }
            CASE(PUSH64)
            {
                const int32_t low = I32();
                const int32_t high = I32();
                S[sp + 1] = low;
                S[sp + 2] = high;
                sp += 2;
                NEXT();
            }
            CASE(NATIVE)
            {
                const int group = U8();
                const int operation = static_cast<int8_t>(U8());
                // Sites bound at load to the one-word array operations run here; they need
                // their operands on the stack, else the registry's handler reports the fault.
                switch (static_cast<NativeSite>(sites[HERE() - kNativeInstructionBytes])) {
                case NativeSite::IntElementRef:
                    if (sp < 1) break;
                    DO_ELEMENT_REF();
                    NEXT();
                case NativeSite::IntLength:
                    if (sp < 0) break;
                    S[sp] = static_cast<int32_t>(
                        GuestVector::ofArray(mem, m_heap, static_cast<uint32_t>(S[sp]), 4)
                            .length());
                    NEXT();
                case NativeSite::IntAppend:
                    if (sp < 1 ||
                        !vectors.appendInPlace(mem, m_heap, static_cast<uint32_t>(LD(S[sp - 1])),
                                               static_cast<uint32_t>(S[sp])))
                        break;
                    sp -= 2;
                    NEXT();
                case NativeSite::StringAppendChar:
                    if (sp < 1) break;
                    appendStringChar(*this, static_cast<uint32_t>(S[sp - 1]), S[sp]);
                    sp -= 2;
                    NEXT();
                case NativeSite::StringLength:
                    if (sp < 0) break;
                    S[sp] = stringLength(*this, static_cast<uint32_t>(S[sp]));
                    NEXT();
                case NativeSite::StringFromIntAppend: // and the append after it
                    if (sp < 1 ||
                        !appendDecimalInPlace(*this, static_cast<uint32_t>(S[sp - 1]), S[sp]))
                        break;
                    sp -= 2;
                    ip += kNativeInstructionBytes;
                    NEXT();
                case NativeSite::Call:
                    break;
                }
                SYNC();
                inNative = true;
                dispatchNative(group, operation);
                inNative = false;
                sp = m_sp;
                NEXT();
            }
            CASE(CLEAR8)
            CASE(CLEAR32)
            {
                const int32_t n =
                    (OPCODE_BYTE() == static_cast<uint8_t>(Op::CLEAR8)) ? I8() : I32();
                if (n > 0)
                    std::memset(mem.bytes(static_cast<uint32_t>(S[sp]), uint64_t(n) * 4), 0,
                                size_t(n) * 4);
                --sp;
                NEXT();
            }
            CASE(COPY8)
            CASE(COPY32)
            {
                const int32_t n = (OPCODE_BYTE() == static_cast<uint8_t>(Op::COPY8)) ? I8() : I32();
                if (n > 0) {
                    const uint64_t bytes = uint64_t(n) * 4;
                    const uint8_t* from = mem.bytes(static_cast<uint32_t>(S[sp]), bytes);
                    uint8_t* to = mem.bytes(static_cast<uint32_t>(S[sp - 1]), bytes);
                    // Word by word, ascending, as the instruction has always copied.
                    for (uint64_t i = 0; i < bytes; i += 4)
                        std::memmove(to + i, from + i, 4);
                }
                --sp;
                NEXT();
            }
            CASE(LOADN8)
            CASE(LOADN32)
            {
                const int32_t n =
                    (OPCODE_BYTE() == static_cast<uint8_t>(Op::LOADN8)) ? I8() : I32();
                const int64_t newSp = int64_t{sp} + n - 1;
                if (newSp < -1 || newSp >= kStackWords) [[unlikely]] {
                    STACK_FAULT(static_cast<int32_t>(newSp < 0 ? -2 : kStackWords));
                }
                if (n > 0) {
                    const uint8_t* from = mem.bytes(static_cast<uint32_t>(S[sp]), uint64_t(n) * 4);
                    std::memmove(S + sp, from, size_t(n) * 4);
                }
                sp = static_cast<int32_t>(newSp);
                NEXT();
            }
            CASE(STOREN8)
            CASE(STOREN32)
            {
                const int32_t n =
                    (OPCODE_BYTE() == static_cast<uint8_t>(Op::STOREN8)) ? I8() : I32();
                const int32_t count = n > 0 ? n : 0;
                const int32_t address = SLOT(int64_t{sp} - count);
                if (count > 0)
                    std::memmove(mem.bytes(static_cast<uint32_t>(address), uint64_t(count) * 4),
                                 S + sp - count + 1, size_t(count) * 4);
                sp -= count + 1;
                NEXT();
            }
            CASE(EXTCALL)
            {
                const int extension = I8();
                const int function = I8();
                SYNC();
                // Without a host there is no extension at all.
                if (!m_host) throwError(kVMException, "Dll not supported");
                inNative = true;
                ExtensionStack stack(*this);
                m_host->callExtension(extension, function, stack);
                inNative = false;
                sp = m_sp;
                NEXT();
            }
            CASE(SEXT8)
            {
                const int32_t n = I8();
                if (n > 0) {
                    if (n > sp + 1) [[unlikely]] {
                        STACK_FAULT(sp - n + 1);
                    }
                    for (int32_t i = 0; i < n; ++i)
                        S[sp - i] = static_cast<int8_t>(S[sp - i]);
                }
                NEXT();
            }
            CASE(NEWARRAY)
            {
                const int32_t size = I8();
                if (size != 1 && size != 4 && size != 8 && size != 12 && size != 16) [[unlikely]] {
                    SYNC();
                    fatalError("Internal error: invalid array element size " + std::to_string(size),
                               m_pc);
                }
                const int32_t header = S[sp];
                NULL_CHECK(header);
                ST(wrapAdd(header, 4), size);
                ST(header, newVector(static_cast<uint32_t>(size), 0));
                --sp;
                NEXT();
            }
            CASE(TRY)
            {
                const int32_t classId = I32();
                const int32_t d = I32();
                if (handlerCount + 1 >= kHandlerSlots) [[unlikely]] {
                    FAULT("Too many nested exception handlers");
                }
                handlers[static_cast<size_t>(++handlerCount)] = {
                    classId, sp, static_cast<int32_t>(int64_t{HERE()} - 1 + d), calls.depth()};
                NEXT();
            }
            CASE(ENDTRY)
            {
                const int32_t n = I8();
                const int32_t count = handlerCount + n;
                if (count < 0 || count >= kHandlerSlots) [[unlikely]] {
                    FAULT("Internal error: unbalanced exception handlers");
                }
                handlerCount = count;
                NEXT();
            }
            CASE(THROW)
            {
                const uint32_t exception = static_cast<uint32_t>(S[sp]);
                if (exception != 0) {
                    SYNC();
                    throwObject(exception, static_cast<int32_t>(ip - codeStart));
                    sp = m_sp;
                    JUMP_TO(m_pc);
                }
                NEXT();
            }
            CASE(FREE)
            {
                const uint32_t handle = static_cast<uint32_t>(S[sp]);
                releaseChecked(handle);
                --sp;
                NEXT();
            }
            CASE(PUSHGLOBALS)
            {
                DO_PUSHGLOBALS();
                NEXT();
            }
            CASE(BOXR)
            CASE(BOXW)
            {
                const int code = (OPCODE_BYTE() == static_cast<uint8_t>(Op::BOXR))
                                     ? GC_CODE_REFERENCE
                                     : GC_CODE_NATIVE;
                const uint32_t box = m_heap.allocate(4, 0, code);
                ST(box, S[sp]);
                S[sp] = static_cast<int32_t>(box);
                NEXT();
            }
            CASE(LDLOCI1)
            CASE(LDLOCI2)
            CASE(LDLOCI3)
            {
                const int levels = OPCODE_BYTE() - static_cast<uint8_t>(Op::LDLOCI1) + 1;
                const int32_t k = I8();
                int32_t v = SLOT(int64_t{sp} + 1 + k);
                for (int i = 0; i < levels; ++i)
                    v = LD(v);
                S[++sp] = v;
                NEXT();
            }
            CASE(LOCFLD1)
            CASE(LOCFLD2)
            CASE(LOCFLD3)
            {
                const int levels = OPCODE_BYTE() - static_cast<uint8_t>(Op::LOCFLD1) + 1;
                const int32_t k = I8();
                const int32_t f = I8();
                int32_t v = SLOT(int64_t{sp} + 1 + k);
                for (int i = 0; i < levels; ++i)
                    v = LD(v);
                NULL_CHECK(v);
                S[++sp] = wrapAdd(v, 4 * f);
                NEXT();
            }
            CASE(DEREF2)
            {
                S[sp] = LD(LD(S[sp]));
                NEXT();
            }
            CASE(DEREF3)
            {
                S[sp] = LD(LD(LD(S[sp])));
                NEXT();
            }
            CASE(FREEBOX)
            {
                const uint32_t box = static_cast<uint32_t>(S[sp]);
                if (box != 0) {
                    releaseChecked(mem.load32(box));
                    releaseChecked(box);
                }
                --sp;
                NEXT();
            }
            CASE(NEWOBJ)
            CASE(NEWOBJK)
            {
                const bool keep = OPCODE_BYTE() == static_cast<uint8_t>(Op::NEWOBJK);
                const int gc = U8();
                const int32_t words = I32();
                const int32_t depth = I8();
                if (!validGcCode(gc) || words < 0 || words > (1 << 28)) [[unlikely]] {
                    FAULT(validGcCode(gc) ? "Invalid mem alloc size" : "Invalid mem alloc gc code");
                }
                const int32_t target = S[sp];
                NULL_CHECK(target);
                const uint32_t handle = m_heap.allocate(static_cast<uint32_t>(words) * 4, 0, gc);
                ST(target, convertDepth(depth, static_cast<int32_t>(handle)));
                if (!keep) --sp;
                NEXT();
            }
            CASE(INC8)
            {
                const uint32_t a = static_cast<uint32_t>(S[sp]);
                mem.store8(a, static_cast<uint8_t>(mem.load8(a) + 1));
                --sp;
                NEXT();
            }
            CASE(DEC8)
            {
                const uint32_t a = static_cast<uint32_t>(S[sp]);
                mem.store8(a, static_cast<uint8_t>(mem.load8(a) - 1));
                --sp;
                NEXT();
            }
#define COMPOUND8(name, expr)                                                                      \
    CASE(name)                                                                                     \
    {                                                                                              \
        const uint32_t a = static_cast<uint32_t>(S[sp - 1]);                                       \
        const int32_t x = mem.load8(a);                                                            \
        const int32_t y = S[sp] & 255;                                                             \
        mem.store8(a, static_cast<uint8_t>(expr));                                                 \
        sp -= 2;                                                                                   \
        NEXT();                                                                                    \
    }
            COMPOUND8(ADDSET8, x + y)
            COMPOUND8(SUBSET8, x - y)
            COMPOUND8(MULSET8, x * y)
            COMPOUND8(DIVSET8, divide8(x, y))
            COMPOUND8(MODSET8, modulo8(x, y))
            COMPOUND8(ANDSET8, x & y)
            COMPOUND8(ORSET8, x | y)
            COMPOUND8(XORSET8, x ^ y)
            COMPOUND8(SHLSET8,
                      static_cast<int8_t>(y) > 0
                          ? (static_cast<int8_t>(y) >= 32 ? 0 : x << static_cast<int8_t>(y))
                      : static_cast<int8_t>(y) == 0 ? x
                                                    : (static_cast<int8_t>(x) < 0 ? 0xFF : 0))
            COMPOUND8(SHRSET8, static_cast<int8_t>(y) > 0
                                   ? (static_cast<int8_t>(y) >= 32
                                          ? (static_cast<int8_t>(x) < 0 ? 0xFF : 0)
                                          : static_cast<int8_t>(x) >> static_cast<int8_t>(y))
                               : static_cast<int8_t>(y) == 0 ? x
                                                             : 0)
#undef COMPOUND8
            CASE(STOREZ8)
            {
                mem.store8(static_cast<uint32_t>(S[sp]), 0);
                --sp;
                NEXT();
            }
            CASE(STORE8)
            {
                mem.store8(static_cast<uint32_t>(S[sp - 1]), static_cast<uint8_t>(S[sp]));
                sp -= 2;
                NEXT();
            }
            CASE(STOREZ16)
            {
                mem.store16(static_cast<uint32_t>(S[sp]), 0);
                --sp;
                NEXT();
            }
            CASE(STORE16)
            {
                mem.store16(static_cast<uint32_t>(S[sp - 1]), static_cast<uint16_t>(S[sp]));
                sp -= 2;
                NEXT();
            }
            CASE(MKBLOCK8)
            CASE(MKBLOCK32)
            {
                const int32_t n =
                    (OPCODE_BYTE() == static_cast<uint8_t>(Op::MKBLOCK8)) ? I8() : I32();
                const int32_t count = n > 0 ? n : 0;
                if (count > sp + 1) [[unlikely]] {
                    STACK_FAULT(sp - count + 1);
                }
                const uint32_t block =
                    m_heap.allocate(static_cast<uint32_t>(count) * 4, 0, GC_CODE_NATIVE);
                if (count > 0)
                    std::memcpy(mem.bytes(block, uint64_t(count) * 4), S + sp - count + 1,
                                size_t(count) * 4);
                sp -= count;
                S[++sp] = static_cast<int32_t>(block);
                NEXT();
            }
#if ZELMO_COMPUTED_GOTO
            // LOCADDR8 k; INC or DEC on a stack slot: the slot itself, its address left above
            // the top as LOCADDR8 leaves it.
#define FUSED_LOCAL_STEP(second, step)                                                             \
    fused_LOCADDR8_##second:                                                                       \
    {                                                                                              \
        const int64_t i_ = int64_t{sp} + 1 + static_cast<int8_t>(*ip);                             \
        if (sp + 1 < kStackWords && i_ >= 0 && i_ < kStackWords) {                                 \
            S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i_));        \
            S[i_] = wrapAdd(S[i_], step);                                                          \
            ip += 2;                                                                               \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_LOCAL_STEP(INC, 1)
            FUSED_LOCAL_STEP(DEC, -1)
#undef FUSED_LOCAL_STEP
        fused_LDLOC8_JZ16 : {
            const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(*ip);
            if (sp + 1 < kStackWords && i >= 0 && i < kStackWords) {
                const int32_t v = S[i];
                S[sp + 1] = v;
                ip += 2;
                const int32_t d = I16();
                if (v == 0) JUMP_BY(d);
                DISPATCH();
            }
            goto op_LDLOC8;
        }
        // PUSH32 c; a binary operation: the top combined with c, c left above the top.
#define FUSED_CONSTANT(second, ok, expr)                                                           \
    fused_PUSH32_##second:                                                                         \
    {                                                                                              \
        int32_t y;                                                                                 \
        std::memcpy(&y, ip, 4);                                                                    \
        if (sp >= 0 && sp + 1 < kStackWords && (ok)) {                                             \
            const int32_t x = S[sp];                                                               \
            S[sp + 1] = y;                                                                         \
            S[sp] = (expr);                                                                        \
            ip += 5;                                                                               \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_PUSH32;                                                                            \
    }
            FUSED_CONSTANT(ADD, true, wrapAdd(x, y))
            FUSED_CONSTANT(SUB, true, wrapSub(x, y))
            FUSED_CONSTANT(MUL, true, wrapMul(x, y))
            FUSED_CONSTANT(MOD, y != 0, modulo(x, y))
            FUSED_CONSTANT(AND, true, x & y)
            FUSED_CONSTANT(EQ, true, x == y ? -1 : 0)
            FUSED_CONSTANT(NE, true, x != y ? -1 : 0)
            FUSED_CONSTANT(LT, true, x < y ? -1 : 0)
            FUSED_CONSTANT(LE, true, x <= y ? -1 : 0)
            FUSED_CONSTANT(GT, true, x > y ? -1 : 0)
            FUSED_CONSTANT(GE, true, x >= y ? -1 : 0)
#undef FUSED_CONSTANT
            // PUSH32 c; a comparison; JZ16: the constant and the comparison's result stay above
            // the top as the three leave them. An empty stack runs unfused from the PUSH32 (the
            // jumps of fused runs lead into the code: threadCode).
#define FUSED_BRANCH(second, expr)                                                                 \
    fused_PUSH32_##second##_JZ16:                                                                  \
    {                                                                                              \
        int32_t y;                                                                                 \
        std::memcpy(&y, ip, 4);                                                                    \
        int16_t d;                                                                                 \
        std::memcpy(&d, ip + 6, 2);                                                                \
        if (sp >= 0 && sp + 1 < kStackWords) {                                                     \
            const int32_t x = S[sp];                                                               \
            const int32_t r = (expr);                                                              \
            S[sp + 1] = y;                                                                         \
            S[sp] = r;                                                                             \
            --sp;                                                                                  \
            ip += r != 0 ? 8 : 5 + 2 + d;                                                          \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_PUSH32;                                                                            \
    }
            FUSED_BRANCH(EQ, x == y ? -1 : 0)
            FUSED_BRANCH(NE, x != y ? -1 : 0)
            FUSED_BRANCH(LT, x < y ? -1 : 0)
            FUSED_BRANCH(LE, x <= y ? -1 : 0)
            FUSED_BRANCH(GT, x > y ? -1 : 0)
            FUSED_BRANCH(GE, x >= y ? -1 : 0)
#undef FUSED_BRANCH
            // LDLOC8 k; PUSH32 c; a comparison; JZ16: as FUSED_BRANCH on the local.
#define FUSED_LOCAL_BRANCH(second, expr)                                                           \
    fused_LDLOC8_PUSH32_##second##_JZ16:                                                           \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(*ip);                              \
        int32_t y;                                                                                 \
        std::memcpy(&y, ip + 2, 4);                                                                \
        int16_t d;                                                                                 \
        std::memcpy(&d, ip + 8, 2);                                                                \
        if (sp + 2 < kStackWords && i >= 0 && i < kStackWords) {                                   \
            const int32_t x = S[i];                                                                \
            const int32_t r = (expr);                                                              \
            S[sp + 1] = r;                                                                         \
            S[sp + 2] = y;                                                                         \
            ip += r != 0 ? 10 : 7 + 2 + d;                                                         \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LDLOC8;                                                                            \
    }
            FUSED_LOCAL_BRANCH(EQ, x == y ? -1 : 0)
            FUSED_LOCAL_BRANCH(NE, x != y ? -1 : 0)
            FUSED_LOCAL_BRANCH(LT, x < y ? -1 : 0)
            FUSED_LOCAL_BRANCH(LE, x <= y ? -1 : 0)
            FUSED_LOCAL_BRANCH(GT, x > y ? -1 : 0)
            FUSED_LOCAL_BRANCH(GE, x >= y ? -1 : 0)
#undef FUSED_LOCAL_BRANCH
            // LDLOC8 k; PUSH32 c; ADD or SUB: the result on top, c above it.
#define FUSED_LOCAL_CONSTANT(second, expr)                                                         \
    fused_LDLOC8_PUSH32_##second:                                                                  \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(*ip);                              \
        if (sp + 2 < kStackWords && i >= 0 && i < kStackWords) {                                   \
            int32_t y;                                                                             \
            std::memcpy(&y, ip + 2, 4);                                                            \
            const int32_t x = S[i];                                                                \
            S[sp + 1] = (expr);                                                                    \
            S[sp + 2] = y;                                                                         \
            ++sp;                                                                                  \
            ip += 7;                                                                               \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LDLOC8;                                                                            \
    }
            FUSED_LOCAL_CONSTANT(ADD, wrapAdd(x, y))
            FUSED_LOCAL_CONSTANT(SUB, wrapSub(x, y))
#undef FUSED_LOCAL_CONSTANT
        // LDLOC8 k; JZ16; JMP16: to one of the two targets, the local left above the top.
        // (ip is one past the first opcode; a jump leads to its opcode's position + 2 + d.)
        fused_LDLOC8_JZ16_JMP16 : {
            const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(*ip);
            if (sp + 1 < kStackWords && i >= 0 && i < kStackWords) {
                const int32_t v = S[i];
                int16_t d;
                std::memcpy(&d, v == 0 ? ip + 2 : ip + 5, 2);
                S[sp + 1] = v;
                ip += (v == 0 ? 1 + 2 : 4 + 2) + d;
                DISPATCH();
            }
            goto op_LDLOC8;
        }
        // LOCADDR8 k; INC or DEC; JMP16: the step on the slot, then the jump.
#define FUSED_LOCAL_STEP_JUMP(second, step)                                                        \
    fused_LOCADDR8_##second##_JMP16:                                                               \
    {                                                                                              \
        const int64_t i_ = int64_t{sp} + 1 + static_cast<int8_t>(*ip);                             \
        if (sp + 1 < kStackWords && i_ >= 0 && i_ < kStackWords) {                                 \
            S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i_));        \
            S[i_] = wrapAdd(S[i_], step);                                                          \
            int16_t d;                                                                             \
            std::memcpy(&d, ip + 3, 2);                                                            \
            ip += 2 + 2 + d;                                                                       \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_LOCAL_STEP_JUMP(INC, 1)
            FUSED_LOCAL_STEP_JUMP(DEC, -1)
#undef FUSED_LOCAL_STEP_JUMP
            // LOCADDR8 a; INC; JMP16 to LDLOC8 b; PUSH32 c; a comparison; JZ16 (stepsToLoopTest):
            // the step and the loop test it leads to, the test's values left above the top; on to
            // the loop body or out of the loop.
#define FUSED_STEP_TO_TEST(name, expr)                                                             \
    fused_STEP_TO_##name:                                                                          \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(ip[0]);                            \
        int16_t d;                                                                                 \
        std::memcpy(&d, ip + 3, 2);                                                                \
        const uint8_t* const test = ip + 4 + d;                                                    \
        const int64_t j = int64_t{sp} + 1 + static_cast<int8_t>(test[1]);                          \
        if (sp + 2 < kStackWords && i >= 0 && i < kStackWords && j >= 0 && j < kStackWords) {      \
            S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i));         \
            S[i] = wrapAdd(S[i], 1);                                                               \
            const int32_t x = S[j];                                                                \
            int32_t y;                                                                             \
            std::memcpy(&y, test + 3, 4);                                                          \
            S[sp + 2] = y;                                                                         \
            const int32_t r = (expr);                                                              \
            S[sp + 1] = r;                                                                         \
            int16_t e;                                                                             \
            std::memcpy(&e, test + 9, 2);                                                          \
            ip = r != 0 ? test + 11 : test + 10 + e;                                               \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_STEP_TO_TEST(LT, x < y ? -1 : 0)
            FUSED_STEP_TO_TEST(LE, x <= y ? -1 : 0)
            FUSED_STEP_TO_TEST(NE, x != y ? -1 : 0)
#undef FUSED_STEP_TO_TEST
            // Chained runs. Between two instructions THEN() does what dispatch would (the stack
            // check, the next instruction's position), so a fault anywhere reports the position
            // and leaves the stack of the instruction that raised it.
#define THEN()                                                                                     \
    do {                                                                                           \
        STACK_CHECK();                                                                             \
        ++ip;                                                                                      \
    } while (0)
            // The element address of an int array site; any other site, or operands missing,
            // continues in the NATIVE handler (the state is that of its dispatch).
#define CHAIN_ELEMENT_REF()                                                                        \
    do {                                                                                           \
        if (static_cast<NativeSite>(sites[HERE() - 1]) != NativeSite::IntElementRef || sp < 1)     \
            goto op_NATIVE;                                                                        \
        ip += 2;                                                                                   \
        DO_ELEMENT_REF();                                                                          \
    } while (0)
            // The hottest runs, with every check done before the first write. Their effects, with
            // the operands read from p (one past the run's first opcode) and the stack indices
            // checked, are shared with the longer runs that contain them.
            // LOCADDR8 a; DEC; LDLOC8 b; JZ16; JMP16 (the end of a counting-down loop) on stack
            // slots i and j: to one of the two targets (both in the code: threadCode), the local
            // left above the top.
#define COUNT_DOWN_EFFECT(p, i, j)                                                                 \
    do {                                                                                           \
        S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i));             \
        S[i] = wrapAdd(S[i], -1);                                                                  \
        const int32_t v_ = S[j];                                                                   \
        S[sp + 1] = v_;                                                                            \
        int16_t d_;                                                                                \
        std::memcpy(&d_, v_ == 0 ? (p) + 5 : (p) + 8, 2);                                          \
        ip = (p) + (v_ == 0 ? 4 + 2 : 7 + 2) + d_;                                                 \
    } while (0)
            // LOCADDR8 a; LDLOC8 b; PUSH32 c; an operation; STORE or ADDSET on slots i and j: local
            // a set to (or increased by) local b combined with c, the address, the result and c
            // left above the top.
#define LOCAL_ASSIGN_EFFECT(p, i, j, expr, assign)                                                 \
    do {                                                                                           \
        S[sp + 1] = static_cast<int32_t>(stackBase + 4u * static_cast<uint32_t>(i));               \
        const int32_t x = S[j];                                                                    \
        S[sp + 2] = x;                                                                             \
        int32_t y;                                                                                 \
        std::memcpy(&y, (p) + 4, 4);                                                               \
        S[sp + 3] = y;                                                                             \
        const int32_t r = (expr);                                                                  \
        S[sp + 2] = r;                                                                             \
        S[i] = (assign);                                                                           \
    } while (0)
#define IN_STACK(i) (static_cast<uint64_t>(i) < static_cast<uint64_t>(kStackWords))
        // Anything outside the stack runs unfused from the LOCADDR8.
        fused_COUNT_DOWN_LOOP : {
            const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(ip[0]);
            const int64_t j = int64_t{sp} + 1 + static_cast<int8_t>(ip[3]);
            if (sp + 1 < kStackWords && IN_STACK(i) && IN_STACK(j)) {
                COUNT_DOWN_EFFECT(ip, i, j);
                DISPATCH();
            }
            goto op_LOCADDR8;
        }
#define FUSED_LOCAL_ASSIGN(op, expr, set, assign)                                                  \
    fused_LOCAL_##op##_##set:                                                                      \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(ip[0]);                            \
        const int64_t j = int64_t{sp} + 2 + static_cast<int8_t>(ip[2]);                            \
        if (sp + 3 < kStackWords && IN_STACK(i) && IN_STACK(j)) {                                  \
            const uint32_t stackBase = m_stackBase;                                                \
            LOCAL_ASSIGN_EFFECT(ip, i, j, expr, assign);                                           \
            ip += 10;                                                                              \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_LOCAL_ASSIGN(ADD, wrapAdd(x, y), STORE, r)
            FUSED_LOCAL_ASSIGN(SUB, wrapSub(x, y), STORE, r)
            FUSED_LOCAL_ASSIGN(AND, x & y, STORE, r)
            FUSED_LOCAL_ASSIGN(ADD, wrapAdd(x, y), ADDSET, wrapAdd(S[i], r))
            FUSED_LOCAL_ASSIGN(SUB, wrapSub(x, y), ADDSET, wrapAdd(S[i], r))
            FUSED_LOCAL_ASSIGN(AND, x & y, ADDSET, wrapAdd(S[i], r))
#undef FUSED_LOCAL_ASSIGN
            // A loop body that ends with such an assignment and the count-down of one local m
            // (countsDownOneLocal): both runs, one check of the three slots (sp is the same at
            // the start of each), the local's new value read back from the register. When the
            // jump back leads to the run itself (the whole loop is this run) the run repeats
            // here: it leaves sp as it found it, so the dispatch check and the slot checks would
            // pass again, and each round has exactly the effects of the unfused round.
#define FUSED_ASSIGN_COUNT_DOWN(op, expr, set, assign)                                             \
    fused_LOCAL_##op##_##set##_COUNT_DOWN:                                                         \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(ip[0]);                            \
        const int64_t j = int64_t{sp} + 2 + static_cast<int8_t>(ip[2]);                            \
        const int64_t m = int64_t{sp} + 1 + static_cast<int8_t>(ip[11]);                           \
        if (sp + 3 < kStackWords && IN_STACK(i) && IN_STACK(j) && IN_STACK(m)) {                   \
            /* The code never changes: its operands and both targets are read once. */             \
            int32_t y;                                                                             \
            std::memcpy(&y, ip + 4, 4);                                                            \
            int16_t d;                                                                             \
            std::memcpy(&d, ip + 16, 2);                                                           \
            const uint8_t* const out = ip + 17 + d;                                                \
            std::memcpy(&d, ip + 19, 2);                                                           \
            const uint8_t* const back = ip + 20 + d;                                               \
            const uint8_t* const run = ip - 1;                                                     \
            const int32_t iAddress =                                                               \
                static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i));                 \
            const int32_t mAddress =                                                               \
                static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(m));                 \
            int32_t* const top = S + sp;                                                           \
            for (;;) {                                                                             \
                top[1] = iAddress;                                                                 \
                const int32_t x = S[j];                                                            \
                top[2] = x;                                                                        \
                top[3] = y;                                                                        \
                const int32_t r = (expr);                                                          \
                top[2] = r;                                                                        \
                S[i] = (assign);                                                                   \
                top[1] = mAddress;                                                                 \
                const int32_t v = wrapAdd(S[m], -1);                                               \
                S[m] = v;                                                                          \
                top[1] = v;                                                                        \
                if (v == 0) {                                                                      \
                    ip = out;                                                                      \
                    break;                                                                         \
                }                                                                                  \
                if (back != run) {                                                                 \
                    ip = back;                                                                     \
                    break;                                                                         \
                }                                                                                  \
            }                                                                                      \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_ASSIGN_COUNT_DOWN(ADD, wrapAdd(x, y), STORE, r)
            FUSED_ASSIGN_COUNT_DOWN(SUB, wrapSub(x, y), STORE, r)
            FUSED_ASSIGN_COUNT_DOWN(AND, x & y, STORE, r)
            FUSED_ASSIGN_COUNT_DOWN(ADD, wrapAdd(x, y), ADDSET, wrapAdd(S[i], r))
            FUSED_ASSIGN_COUNT_DOWN(SUB, wrapSub(x, y), ADDSET, wrapAdd(S[i], r))
            FUSED_ASSIGN_COUNT_DOWN(AND, x & y, ADDSET, wrapAdd(S[i], r))
#undef FUSED_ASSIGN_COUNT_DOWN
#undef LOCAL_ASSIGN_EFFECT
#undef COUNT_DOWN_EFFECT
#define FUSED_CHAIN2(name, first, second)                                                          \
    fused_##name:                                                                                  \
    {                                                                                              \
        first;                                                                                     \
        THEN();                                                                                    \
        second;                                                                                    \
        NEXT();                                                                                    \
    }
#define FUSED_CHAIN3(name, first, second, third) FUSED_CHAIN2(name, first, second; THEN(); third)
            FUSED_CHAIN3(LOCADDR8_PUSH32_STORE, DO_LOCADDR8(), DO_PUSH32(), DO_STORE())
            FUSED_CHAIN3(LOCADDR8_LDLOC8_STORE, DO_LOCADDR8(), DO_LDLOC8(), DO_STORE())
            FUSED_CHAIN2(LOCADDR8_PUSH0, DO_LOCADDR8(), DO_PUSH0())
            FUSED_CHAIN2(PUSHGLOBALS_FLDADDR8, DO_PUSHGLOBALS(), DO_FLDADDR8())
            FUSED_CHAIN3(PUSHGLOBALS_FLDADDR8_LOAD, DO_PUSHGLOBALS(), DO_FLDADDR8(), DO_LOAD())
            FUSED_CHAIN2(PUSHGLOBALS_LDLOC8, DO_PUSHGLOBALS(), DO_LDLOC8())
            FUSED_CHAIN2(ADD_LOAD, DO_BINARY(wrapAdd(x, y)), DO_LOAD())
            FUSED_CHAIN2(ADD_STORE, DO_BINARY(wrapAdd(x, y)), DO_STORE())
            FUSED_CHAIN2(DUP_LOAD, DO_DUP(), DO_LOAD())
            FUSED_CHAIN2(LDLOC8_STORE, DO_LDLOC8(), DO_STORE())
            FUSED_CHAIN3(LDLOC8_NATIVE_LOAD, DO_LDLOC8(), CHAIN_ELEMENT_REF(), DO_LOAD())
            // Runs that start with the element address: the stack checks between their steps
            // cannot fail (the address needs sp >= 1 and leaves sp - 1, LOAD keeps sp, LDLOC8
            // brings it back below the limit dispatch checked), so only the position moves on.
#define ELEMENT_STEP() (++ip)
#define FUSED_ELEMENT_RUN(name, rest)                                                              \
    fused_##name:                                                                                  \
    {                                                                                              \
        CHAIN_ELEMENT_REF();                                                                       \
        ELEMENT_STEP();                                                                            \
        rest;                                                                                      \
        NEXT();                                                                                    \
    }
            FUSED_ELEMENT_RUN(NATIVE_LOAD, DO_LOAD())
            FUSED_ELEMENT_RUN(NATIVE_LDLOC8_STORE, DO_LDLOC8(); ELEMENT_STEP(); DO_STORE())
            FUSED_ELEMENT_RUN(NATIVE_LOAD_ADDSET, DO_LOAD(); ELEMENT_STEP();
                              DO_COMPOUND(wrapAdd(x, y)))
            // The same after pushes that cannot leave the stack (checked once, before them), so
            // they need no check between them either. Both leave sp as they found it.
#define FUSED_PUSHES_ELEMENT_RUN(name, room, pushes, rest)                                         \
    fused_##name:                                                                                  \
    {                                                                                              \
        if (sp + (room) < kStackWords) {                                                           \
            pushes;                                                                                \
            CHAIN_ELEMENT_REF();                                                                   \
            ELEMENT_STEP();                                                                        \
            rest;                                                                                  \
            DISPATCH();                                                                            \
        }                                                                                          \
        goto op_##room##_PUSHES;                                                                   \
    }
#define op_3_PUSHES op_LOCADDR8
#define op_2_PUSHES op_PUSHGLOBALS
            FUSED_PUSHES_ELEMENT_RUN(ADD_GLOBAL_ELEMENT, 3, DO_LOCADDR8(); ELEMENT_STEP();
                                     DO_PUSHGLOBALS(); ELEMENT_STEP(); DO_LDLOC8();
                                     ELEMENT_STEP(), DO_LOAD(); ELEMENT_STEP();
                                     DO_COMPOUND(wrapAdd(x, y)))
            FUSED_PUSHES_ELEMENT_RUN(SET_GLOBAL_ELEMENT, 2, DO_PUSHGLOBALS(); ELEMENT_STEP();
                                     DO_LDLOC8(); ELEMENT_STEP(), DO_LDLOC8(); ELEMENT_STEP();
                                     DO_STORE())
#undef op_3_PUSHES
#undef op_2_PUSHES
#undef FUSED_PUSHES_ELEMENT_RUN
            // Whole counting loops (run = the first opcode): LDLOC8 a; PUSH32 c; LT; JZ16 out
            // (the test), a body on an int array in a global (its element address through a
            // NATIVE site bound to it), then LOCADDR8 k; INC; JMP16 (the step). sp is the same at
            // every test, so the slots are checked once, and the site and constants are read
            // once; each round stores what the unfused round leaves on and above the stack. The
            // rounds repeat here while the jump back leads to the run itself, else the handler
            // dispatches there. What could fault (a guest word outside memory, an element
            // address the remembered vector does not answer) is not tried here: the round goes
            // on unfused from that instruction's dispatch, with its ip and sp, so the full path
            // decides and faults as it would.
#define COUNTING_LOOP(name, bodySlots, setup, body, stepAt)                                        \
    fused_##name:                                                                                  \
    {                                                                                              \
        const uint8_t* const run = ip - 1;                                                         \
        const int32_t sp0 = sp;                                                                    \
        const int64_t a = int64_t{sp} + 1 + static_cast<int8_t>(run[1]);                           \
        const int64_t k = int64_t{sp} + 1 + static_cast<int8_t>(run[(stepAt) + 1]);                \
        if (sp + 3 < kStackWords && IN_STACK(a) && IN_STACK(k) && (bodySlots)) {                   \
            int32_t c;                                                                             \
            std::memcpy(&c, run + 3, 4);                                                           \
            int16_t d;                                                                             \
            std::memcpy(&d, run + 9, 2);                                                           \
            const uint8_t* const out = run + 10 + d;                                               \
            std::memcpy(&d, run + (stepAt) + 4, 2);                                                \
            const uint8_t* const back = run + (stepAt) + 5 + d;                                    \
            const uint32_t stackBase = m_stackBase;                                                \
            const int32_t kAddress =                                                               \
                static_cast<int32_t>(stackBase + 4u * static_cast<uint32_t>(k));                   \
            /* Read once: stores to the stack could alias them as far as the compiler knows. */    \
            const uint32_t globals = globalsHandle;                                                \
            int32_t* const top = S + sp0;                                                          \
            int32_t* const counter = S + a;                                                        \
            int32_t* const step = S + k;                                                           \
            setup;                                                                                 \
            for (;;) {                                                                             \
                const int32_t x = *counter;                                                        \
                top[2] = c;                                                                        \
                top[1] = x < c ? -1 : 0;                                                           \
                if (x >= c) {                                                                      \
                    ip = out;                                                                      \
                    DISPATCH();                                                                    \
                }                                                                                  \
                body;                                                                              \
                top[1] = kAddress;                                                                 \
                *step = wrapAdd(*step, 1);                                                         \
                if (back != run) {                                                                 \
                    ip = back;                                                                     \
                    DISPATCH();                                                                    \
                }                                                                                  \
            }                                                                                      \
        }                                                                                          \
        goto op_LDLOC8;                                                                            \
    }
#define ELEMENT_SITE(at)                                                                           \
    (static_cast<NativeSite>(sites[(run + (at)) - codeStart]) == NativeSite::IntElementRef)
            // The guest word at a, when it is certainly inside memory (else the full path decides).
#define WORD_INSIDE(a) (uint32_t(uint32_t(a) - GuestMemory::kFirstUsable) <= wordSpan)
#define WORD_AT(a)                                                                                 \
    ({                                                                                             \
        int32_t v_;                                                                                \
        std::memcpy(&v_, base + uint32_t(a), 4);                                                   \
        v_;                                                                                        \
    })
            // Continues the round unfused at the instruction whose opcode is at run + at.
#define RESUME(at, stack, label)                                                                   \
    do {                                                                                           \
        sp = (stack);                                                                              \
        ip = run + (at) + 1;                                                                       \
        goto label;                                                                                \
    } while (0)
            // Body: LOCADDR8 s; PUSHGLOBALS; LDLOC8 b; NATIVE; LOAD; ADDSET. The ADDSET adds to
            // stack slot s (the address LOCADDR8 left, which nothing in between can change).
            COUNTING_LOOP(
                SUM_GLOBAL_ELEMENTS,
                IN_STACK(int64_t{sp} + 1 + static_cast<int8_t>(run[12])) &&
                    IN_STACK(int64_t{sp} + 3 + static_cast<int8_t>(run[15])) && ELEMENT_SITE(16),
                const int64_t s = int64_t{sp0} + 1 + static_cast<int8_t>(run[12]);
                const int32_t sAddress =
                    static_cast<int32_t>(stackBase + 4u * static_cast<uint32_t>(s));
                int32_t* const sum = S + s;
                const int32_t* const indexSlot = S + sp0 + 3 + static_cast<int8_t>(run[15]),
                {
                    top[1] = sAddress;
                    top[2] = static_cast<int32_t>(globals);
                    const int32_t index = *indexSlot;
                    top[3] = index;
                    uint32_t element;
                    if (!WORD_INSIDE(globals) || !vectors.rememberedElementAddress(
                                                     uint32_t(WORD_AT(globals)), index, element))
                        RESUME(16, sp0 + 3, op_NATIVE);
                    top[2] = static_cast<int32_t>(element);
                    if (!WORD_INSIDE(element)) RESUME(19, sp0 + 2, op_LOAD);
                    const int32_t value = WORD_AT(element);
                    top[2] = value;
                    *sum = wrapAdd(*sum, value);
                },
                21)
            // Body: PUSHGLOBALS; LDLOC8 b; NATIVE; LDLOC8 v; STORE.
            COUNTING_LOOP(
                FILL_GLOBAL_ELEMENTS,
                IN_STACK(int64_t{sp} + 2 + static_cast<int8_t>(run[13])) &&
                    IN_STACK(int64_t{sp} + 2 + static_cast<int8_t>(run[18])) && ELEMENT_SITE(14),
                const int32_t* const indexSlot = S + sp0 + 2 + static_cast<int8_t>(run[13]);
                const int32_t* const valueSlot = S + sp0 + 2 + static_cast<int8_t>(run[18]),
                {
                    top[1] = static_cast<int32_t>(globals);
                    const int32_t index = *indexSlot;
                    top[2] = index;
                    uint32_t element;
                    if (!WORD_INSIDE(globals) || !vectors.rememberedElementAddress(
                                                     uint32_t(WORD_AT(globals)), index, element))
                        RESUME(14, sp0 + 2, op_NATIVE);
                    top[1] = static_cast<int32_t>(element);
                    const int32_t value = *valueSlot;
                    top[2] = value;
                    if (!WORD_INSIDE(element)) RESUME(19, sp0 + 2, op_STORE);
                    std::memcpy(base + element, &value, 4);
                },
                20)
#undef RESUME
#undef WORD_AT
#undef WORD_INSIDE
#undef ELEMENT_SITE
#undef COUNTING_LOOP
#undef IN_STACK
#undef FUSED_ELEMENT_RUN
#undef ELEMENT_STEP
            // Runs that end in a call or a return, which dispatch themselves.
#define FUSED_CHAIN_END(name, first, last)                                                         \
    fused_##name:                                                                                  \
    {                                                                                              \
        first;                                                                                     \
        THEN();                                                                                    \
        last;                                                                                      \
    }
            FUSED_CHAIN_END(LDLOC8_PUSH32_ADD_CALL, DO_LDLOC8(); THEN(); DO_PUSH32(); THEN();
                            DO_BINARY(wrapAdd(x, y)), DO_CALL())
            FUSED_CHAIN_END(LDLOC8_PUSH32_SUB_CALL, DO_LDLOC8(); THEN(); DO_PUSH32(); THEN();
                            DO_BINARY(wrapSub(x, y)), DO_CALL())
            FUSED_CHAIN_END(LDLOC8_CALL, DO_LDLOC8(), DO_CALL())
            // A call whose last argument is a local minus a constant, after `pushed` (1 or 2)
            // slots, PUSH0 last: [LOCADDR8 a;] PUSH0; LDLOC8 b; PUSH32 c; SUB; CALL, with the
            // LDLOC8 at ip[at]. The pushes (up to the constant's, sp + pushed + 2) and the
            // local's slot are checked first, so nothing before the call can fault; otherwise
            // the run goes on unfused from its first instruction.
#define FUSED_SUB_ARG_CALL(name, pushed, at, lead, unfused)                                        \
    fused_##name:                                                                                  \
    {                                                                                              \
        const int64_t j = int64_t{sp} + (pushed) + 1 + static_cast<int8_t>(ip[(at) + 1]);          \
        if (sp + (pushed) + 2 < kStackWords && j >= 0 && j < kStackWords) {                        \
            lead;                                                                                  \
            int32_t c;                                                                             \
            std::memcpy(&c, ip + (at) + 3, 4);                                                     \
            S[sp + (pushed) + 1] = wrapSub(S[j], c);                                               \
            sp += (pushed) + 1;                                                                    \
            ip += (at) + 9;                                                                        \
            DO_CALL();                                                                             \
        }                                                                                          \
        goto unfused;                                                                              \
    }
            FUSED_SUB_ARG_CALL(PUSH0_SUB_CALL, 1, 0, S[sp + 1] = 0, op_PUSH0)
            FUSED_SUB_ARG_CALL(
                LOCADDR8_PUSH0_SUB_CALL, 2, 2,
                (S[sp + 1] = static_cast<int32_t>(
                     m_stackBase + 4u * static_cast<uint32_t>(sp + 1 + static_cast<int8_t>(ip[0]))),
                 S[sp + 2] = 0),
                op_LOCADDR8)
#undef FUSED_SUB_ARG_CALL
            FUSED_CHAIN_END(DUP_LOAD_CALLV, DO_DUP(); THEN(); DO_LOAD(), DO_CALLV())
            FUSED_CHAIN_END(STORE_RET, DO_STORE(), DO_RET())
            // A run that needs only `holds` for sp to stay inside the stack: its steps go on
            // without the checks between them; otherwise it goes on unfused.
#define FUSED_IF(name, holds, unfused, steps)                                                      \
    fused_##name:                                                                                  \
    {                                                                                              \
        if (!(holds)) goto unfused;                                                                \
        steps;                                                                                     \
    }
            // ADD; STORE; RET: with two words under the top (the store is checked as STORE
            // checks it).
            FUSED_IF(ADD_STORE_RET, sp >= 2, op_ADD, DO_BINARY(wrapAdd(x, y)); ++ip; DO_STORE();
                     ++ip; DO_RET())
            // A result stored to a local, then the return: LOCADDR8 a; PUSH32 c or LDLOC8 b;
            // STORE; RET. The store goes to stack slot i, the address LOCADDR8 left, so it
            // cannot fault; with the slots and the two pushes checked first, the run leaves
            // what the three leave and returns (the return checks as RET does).
#define FUSED_LOCAL_RESULT_RET(name, value, slots, retAt)                                          \
    fused_##name:                                                                                  \
    {                                                                                              \
        const int64_t i = int64_t{sp} + 1 + static_cast<int8_t>(ip[0]);                            \
        if (sp + 2 < kStackWords && i >= 0 && i < kStackWords && (slots)) {                        \
            S[sp + 1] = static_cast<int32_t>(m_stackBase + 4u * static_cast<uint32_t>(i));         \
            const int32_t v = (value);                                                             \
            S[sp + 2] = v;                                                                         \
            S[i] = v;                                                                              \
            ip += (retAt);                                                                         \
            DO_RET();                                                                              \
        }                                                                                          \
        goto op_LOCADDR8;                                                                          \
    }
            FUSED_LOCAL_RESULT_RET(LOCADDR8_PUSH32_STORE_RET, ({
                                       int32_t c;
                                       std::memcpy(&c, ip + 2, 4);
                                       c;
                                   }),
                                   true, 8)
#define RESULT_SLOT (int64_t{sp} + 2 + static_cast<int8_t>(ip[2]))
            FUSED_LOCAL_RESULT_RET(LOCADDR8_LDLOC8_STORE_RET, S[RESULT_SLOT],
                                   RESULT_SLOT >= 0 && RESULT_SLOT < kStackWords, 5)
#undef RESULT_SLOT
#undef FUSED_LOCAL_RESULT_RET
#undef FUSED_CHAIN_END
#undef FUSED_IF
#undef FUSED_CHAIN2
#undef FUSED_CHAIN3
#undef CHAIN_ELEMENT_REF
#undef THEN
#endif
            INVALID
            {
                SYNC();
                m_pc = HERE() - 1;
                fatalError("Internal error: invalid opcode " +
                               std::to_string(static_cast<int8_t>(OPCODE_BYTE())),
                           m_pc);
            }
        }
    stack_fault:
        STACK_FAULT(sp);
    } catch (...) {
        // Publish where the error happened. A native keeps the stack index it left behind.
        m_pc = static_cast<int32_t>(ip - codeStart) - 1;
        if (!inNative) m_sp = sp;
        throw;
    }

#undef OPCODE_BYTE
#undef HERE
#undef JUMP_BY
#undef I8
#undef U8
#undef I16
#undef I32
#undef SYNC
#undef FAULT
#undef STACK_FAULT
#undef LD
#undef ST
#undef NULL_CHECK
#undef SLOT
#undef JUMP_TO
#undef ENTER_FRAME
#undef DO_LDLOC8
#undef DO_LOCADDR8
#undef DO_FLDADDR8
#undef DO_LOAD
#undef DO_STORE
#undef DO_PUSH32
#undef DO_PUSH0
#undef DO_DUP
#undef DO_PUSHGLOBALS
#undef DO_STEP
#undef DO_BINARY
#undef DO_COMPOUND
#undef DO_ELEMENT_REF
#undef DO_JZ16
#undef DO_CALL
#undef DO_CALLV
#undef DO_RET
#undef DO_JMP16
#undef STACK_CHECK
#undef CASE
#undef INVALID
#undef NEXT
#undef DISPATCH
#undef LOOP
}

} // namespace zelmo
