// SPDX-License-Identifier: MIT
// Hostile instruction sequences end the invocation with their exact fatal line, and the
// collector reads described frames slot kind by slot kind: what a described slot holds lives,
// what an undescribed slot of the frame holds does not.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

// Runs main and returns standard error; the invocation must end as fatal.
std::string
runFatal(const std::string& source,
         const std::function<void(VirtualMachine&, const std::vector<std::string>&)>& onLog = {})
{
    const MainRun run = runMain(source, onLog);
    EXPECT_EQ(run.outcome, -2) << run.err;
    return run.err;
}

TEST(InterpreterChecks, HostileSequencesEndWithTheirFatalLine)
{
    struct Row {
        const char* code; // main, then after "@@" directives and functions
        const char* line;
    };
    std::string tries; // one more than the 127 handlers the table holds
    for (int i = 0; i < 128; ++i)
        tries += "TRY -1, l|";
    tries += "l:|NOP";
    const Row rows[] = {
        {"PUSH32 0x10|LOAD", "Invalid memory access at 0x00000010 (4 bytes)"},
        {"PUSH32 0x7ffffff0|PUSH32 1|STORE", "Invalid memory access at 0x7ffffff0 (4 bytes)"},
        {"PUSH0|LOAD", "uncaught NullPointerException: NULL pointer"},
        {"PUSH0|FLDADDR8 1", "uncaught NullPointerException: NULL pointer"},
        {"PUSH32 1|PUSH0|DIV", "uncaught DivisionByZeroException"},
        {"JMP32 100000", "Internal error: jump outside the code"},
        {"PUSH0|JZ16 -100", "Internal error: jump outside the code"},
        {".byte 200", "Internal error: invalid opcode -56"},
        {"PUSHSTR 3", "Internal error: invalid string index"},
        {"PUSH32 77|CALLV \"s\"|@@.selector \"s\"", "Invalid type in virtual method call"},
        // A class the selector's remembered targets do not know, and a selector from bytes
        // inside another instruction.
        {"NEW CLASS_OBJECT, 1|DUP|SETCLASS K|DUP|LOAD|CALLV \"s\"|PUSH32 77|CALLV \"s\"|"
         "@@.class K|.selector \"s\"|.impl K g|g:|RET 0, 1",
         "Invalid type in virtual method call"},
        {"PUSH32 5|JMP16 2|PUSH32 0x630F|NOP", "Internal error: invalid selector"},
        {"CALL f, 99|@@f:|RET 0, 1", "Internal error: invalid method info index"},
        {"CALL 100000, none", "Internal error: jump outside the code"},
        {"CALL 100000, x|@@.frame x slots=2,1,0", "Internal error: jump outside the code"},
        {"CALL f, none|@@f:|FRAME8 -1|CALL f, none", "Call stack overflow"},
        {"PUSH32 a|RET 0, 1|a:|RET 0, 0", "Internal error: return without a call"},
        {"CALL f, none|@@f:|LOCADDR8 -1|PUSH32 100000|STORE|RET 0, 0",
         "Internal error: jump outside the code"},
        {"l:|PUSH0|JMP16 l", "Operand stack overflow"},
        // A run whose jump leads outside the code is not fused: the jump that is taken fails.
        {"PUSH32 1|LOCADDR8 -1|DEC|LDLOC8 -1|JZ16 1000|JMP16 l|l:|NOP",
         "Internal error: jump outside the code"},
        {"PUSH32 2|LOCADDR8 -1|DEC|LDLOC8 -1|JZ16 l|JMP16 -1000|l:|NOP",
         "Internal error: jump outside the code"},
        {"FRAME8 -5", "Operand stack underflow (index -2)"},
        {"LDLOC8 -5", "Operand stack underflow (index -4)"},
        {"RET 0, 5", "Operand stack underflow (index -2)"},
        {tries.c_str(), "Too many nested exception handlers"},
        {"ENDTRY -1", "Internal error: unbalanced exception handlers"},
        {"TRY -1, l|ENDTRY 127|l:|NOP", "Internal error: unbalanced exception handlers"},
        {"FRAME8 2|LOCADDR8 -2|NEWARRAY 3", "Internal error: invalid array element size 3"},
        {"NEW CLASS_OBJECT, -1", "Invalid mem alloc size"},
        {"NEW 8, 1", "Invalid mem alloc gc code"},
        {"PUSH32 70000|FREE", "Invalid handle released"},
        {"EXTCALL 1, 2", "uncaught VMException: Dll not supported"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(runFatal(mainSource(row.code, "PUSH32 -1\nRET 0, 0\n")),
                  "FATAL: " + std::string(row.line) + "\n");
    }
}

// main logs the handles it wants checked, then "collect": the host collects right there, with
// the frame on the stack, and notes which of the logged handles are still live objects.
std::vector<bool> liveAfterCollect(const std::string& frame, const std::string& body)
{
    std::vector<bool> live;
    runMain(mainSource(body, "PUSHSTR \"collect\"\nNATIVE Debug.log\nPUSH32 -1\nRET 0, 0\n", frame),
            [&](VirtualMachine& vm, const std::vector<std::string>& lines) {
                if (lines.back() != "collect") return;
                vm.collectGarbage();
                for (size_t i = 0; i + 1 < lines.size(); ++i)
                    live.push_back(vm.heap().isLiveHandle(uint32_t(std::stoul(lines[i]))));
            });
    return live;
}

// Logs the word k below the new top (LDLOC8 k), or what it points to when deref is set.
std::string logSlot(int k, bool deref = false)
{
    return "|LDLOC8 " + std::to_string(k) + (deref ? "|LOAD" : "") + "|ITOS|NATIVE Debug.log";
}

TEST(FrameSlots, ExactSlotsKeepTheirObjectAndNothingElseOfTheFrameDoes)
{
    // frame: [return, A, B]; only A's slot is described
    EXPECT_EQ(liveAfterCollect("slots=0,0,2 exact=1",
                               "NEW NATIVE, 1|NEW NATIVE, 1" + logSlot(-2) + logSlot(-1)),
              (std::vector<bool>{true, false}));
}

TEST(FrameSlots, AnExactSlotThatIsNoHandleIsFatal)
{
    const std::string source =
        mainSource("NEW NATIVE, 2|FLDADDR8 1|PUSHSTR \"collect\"",
                   "NATIVE Debug.log\nPUSH32 -1\nRET 0, 0\n", "slots=0,0,1 exact=1");
    EXPECT_EQ(runFatal(source, [](VirtualMachine& vm, auto&) { vm.collectGarbage(); }),
              "FATAL: Invalid mem alloc gc code\n");
}

TEST(FrameSlots, ArrayPointerSlotsKeepTheVectorTheyPointAt)
{
    // frame: [return, A, B]; A and B hold array headers, only A is described
    EXPECT_EQ(liveAfterCollect("slots=0,0,2 arrays=1",
                               "NEW NATIVE, 2|DUP|NEWARRAY 4|NEW NATIVE, 2|DUP|NEWARRAY 4" +
                                   logSlot(-2, true) + logSlot(-1, true)),
              (std::vector<bool>{true, false}));
}

TEST(FrameSlots, InlineArraySlotsKeepTheirVectorAndReferenceElements)
{
    // frame: [return, header A (2 words), header B (2 words)]; A is described, its elements as
    // references or not, B is not. A holds one element: a fresh object.
    const std::string body =
        "FRAME8 4|LOCADDR8 -4|NEW NATIVE, 1|PUSH32 1|NATIVE RefArray.initFilled"
        "|LOCADDR8 -2|NEWARRAY 4" +
        logSlot(-4) + logSlot(-2) + "|LDLOC8 -4|FLDADDR8 1|LOAD|LOAD" + "|ITOS|NATIVE Debug.log";
    EXPECT_EQ(liveAfterCollect("slots=0,0,4 inline=1*", body),
              (std::vector<bool>{true, false, true}));
    EXPECT_EQ(liveAfterCollect("slots=0,0,4 inline=1", body),
              (std::vector<bool>{true, false, false}));
}

} // namespace
