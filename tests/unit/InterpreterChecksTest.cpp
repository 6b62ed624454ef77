// SPDX-License-Identifier: MIT
// Hostile instruction sequences end the invocation with their exact fatal line, and the
// collector reads described frames slot kind by slot kind: what a described slot holds lives,
// what an undescribed slot of the frame holds does not.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

// '|' separates lines.
std::string lines(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '|' ? "\n" : std::string(1, c);
    return out + "\n";
}

// Runs main and returns standard error; the invocation must end as fatal.
std::string runFatal(const std::string& source, VirtualMachine& vm, RecordingHost& host)
{
    const int32_t module = loadImage(vm, source, &host);
    const int32_t main = vm.registerMethod(u"main", module);
    ::testing::internal::CaptureStderr();
    int32_t outcome = 0;
    try {
        vm.invoke(main, {}, {}, -1);
    } catch (const InvocationOutcome& end) {
        outcome = end.value;
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(outcome, -2) << err;
    return err;
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
        {"CALL f, 99|@@f:|RET 0, 1", "Internal error: invalid method info index"},
        {"CALL f, none|@@f:|FRAME8 -1|CALL f, none", "Call stack overflow"},
        {"PUSH32 a|RET 0, 1|a:|RET 0, 0", "Internal error: return without a call"},
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
        const std::string code = row.code;
        SCOPED_TRACE(code);
        const size_t split = code.find("@@");
        const std::string source =
            ".function @main main\nmain:\n" + lines(code.substr(0, split)) +
            "PUSH32 -1\nRET 0, 0\n" +
            (split == std::string::npos ? "" : lines(code.substr(split + 2)));
        VirtualMachine vm;
        RecordingHost host;
        EXPECT_EQ(runFatal(source, vm, host), "FATAL: " + std::string(row.line) + "\n");
    }
}

// main logs the handles it wants checked, then "collect": the host collects right there, with
// the frame on the stack, and notes which of the logged handles are still live objects.
struct FrameCollection {
    VirtualMachine vm;
    RecordingHost host;
    std::vector<bool> live;

    void run(const std::string& frame, const std::string& body)
    {
        host.onLog = [&](const std::string& line) {
            if (line != "collect") return;
            vm.collectGarbage();
            for (size_t i = 0; i + 1 < host.lines.size(); ++i)
                live.push_back(vm.heap().isLiveHandle(uint32_t(std::stoul(host.lines[i]))));
        };
        const std::string source =
            ".frame mf " + frame + "\n.function @main main info=mf\nmain:\n" + lines(body) +
            "PUSHSTR \"collect\"\nNATIVE Debug.log\n" + "PUSH32 -1\nRET 0, 0\n";
        vm.invoke(vm.registerMethod(u"main", loadImage(vm, source, &host)), {}, {}, -1);
    }
};

// Logs the word k below the new top (LDLOC8 k), or what it points to when deref is set.
std::string logSlot(int k, bool deref = false)
{
    return "|LDLOC8 " + std::to_string(k) + (deref ? "|LOAD" : "") + "|ITOS|NATIVE Debug.log";
}

TEST(FrameSlots, ExactSlotsKeepTheirObjectAndNothingElseOfTheFrameDoes)
{
    FrameCollection c; // frame: [return, A, B]; only A's slot is described
    c.run("slots=0,0,2 exact=1", "NEW NATIVE, 1|NEW NATIVE, 1" + logSlot(-2) + logSlot(-1));
    EXPECT_EQ(c.live, (std::vector<bool>{true, false}));
}

TEST(FrameSlots, AnExactSlotThatIsNoHandleIsFatal)
{
    VirtualMachine vm;
    RecordingHost host;
    host.onLog = [&](const std::string&) { vm.collectGarbage(); };
    const std::string source = ".frame mf slots=0,0,1 exact=1\n.function @main main info=mf\n"
                               "main:\nNEW NATIVE, 2\nFLDADDR8 1\nPUSHSTR \"collect\"\n"
                               "NATIVE Debug.log\nPUSH32 -1\nRET 0, 0\n";
    EXPECT_EQ(runFatal(source, vm, host), "FATAL: Invalid mem alloc gc code\n");
}

TEST(FrameSlots, ArrayPointerSlotsKeepTheVectorTheyPointAt)
{
    FrameCollection c; // frame: [return, A, B]; A and B hold array headers, only A is described
    c.run("slots=0,0,2 arrays=1", "NEW NATIVE, 2|DUP|NEWARRAY 4|NEW NATIVE, 2|DUP|NEWARRAY 4" +
                                      logSlot(-2, true) + logSlot(-1, true));
    EXPECT_EQ(c.live, (std::vector<bool>{true, false}));
}

TEST(FrameSlots, InlineArraySlotsKeepTheirVectorAndReferenceElements)
{
    // frame: [return, header A (2 words), header B (2 words)]; A is described, its elements as
    // references or not, B is not. A holds one element: a fresh object.
    const std::string body =
        "FRAME8 4|LOCADDR8 -4|NEW NATIVE, 1|PUSH32 1|NATIVE RefArray.initFilled"
        "|LOCADDR8 -2|NEWARRAY 4" +
        logSlot(-4) + logSlot(-2) + "|LDLOC8 -4|FLDADDR8 1|LOAD|LOAD" + "|ITOS|NATIVE Debug.log";
    FrameCollection references;
    references.run("slots=0,0,4 inline=1*", body);
    EXPECT_EQ(references.live, (std::vector<bool>{true, false, true}));
    FrameCollection values;
    values.run("slots=0,0,4 inline=1", body);
    EXPECT_EQ(values.live, (std::vector<bool>{true, false, false}));
}

} // namespace
