// SPDX-License-Identifier: MIT
// Code prepared at load: NATIVE sites bound to their handlers (the array operations the
// interpreter runs in line fault exactly as the registry's handlers do, and a site nobody
// answers fails only when it runs), and the instruction pairs and triples the threaded
// interpreter runs fused, which must behave as they do unfused (the switch build runs the same
// rows).
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

// Runs main ('|' separates lines) and returns what it logged, then "fatal: " and the first
// line of standard error when the invocation ended as fatal.
std::string run(const std::string& body)
{
    const MainRun run = runMain(mainSource(body, "PUSH32 -1\nRET 0, 0\n"));
    std::string out;
    for (const std::string& line : run.lines)
        out += line + " ";
    if (run.outcome == -2) out += "fatal: " + run.err.substr(0, run.err.find('\n'));
    return out;
}

struct Row {
    const char* body;
    const char* result; // a prefix of run()'s text
};

template <size_t N> void expectRows(const Row (&rows)[N])
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        const std::string result = run(row.body);
        EXPECT_EQ(result.substr(0, std::string(row.result).size()), row.result) << result;
    }
}

TEST(NativeSites, BoundSitesComputeAndFaultLikeTheirHandlers)
{
    const Row rows[] = {
        // A site nobody answers is harmless until it runs, then fails with its group's error
        // at its own position (the last operand byte).
        {"JMP16 l|NATIVE IntArray, 99|l:|PUSHSTR \"ok\"|NATIVE Debug.log", "ok "},
        {"PUSH0|NATIVE IntArray, 99", "fatal: FATAL: uncaught VMException: Vector:3"},
        {"NATIVE 0, 1", "fatal: FATAL: Internal error: invalid group in native call: 0"},
        {"NATIVE 2, 6", "fatal: FATAL: Internal error: invalid group in native call: 2"},
        {"NATIVE 37, 1", "fatal: FATAL: Internal error: invalid group in native call: 37"},
        {"PUSH0|NATIVE KeyEvent, 9",
         "fatal: FATAL: uncaught VMException: KeyEvent: invalid opcode 9"},
        // Append, length and element address agree with each other.
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|DUP|PUSH32 9|"
         "NATIVE IntArray.append|DUP|NATIVE IntArray.length|ITOS|NATIVE Debug.log|PUSH32 1|"
         "NATIVE IntArray.elementRef|LOAD|ITOS|NATIVE Debug.log",
         "2 9 "},
        // Faults: operands missing, a null array, an index outside, a vector of other elements.
        {"NATIVE IntArray.elementRef", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"FRAME8 -1|NATIVE IntArray.length", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"PUSH0|PUSH0|NATIVE IntArray.elementRef",
         "fatal: FATAL: uncaught NullPointerException: NULL pointer"},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|PUSH32 -1|NATIVE IntArray.elementRef",
         "fatal: FATAL: uncaught IndexOutOfBoundsException"},
        {"NEW NATIVE, 2|DUP|NEWARRAY 1|NATIVE IntArray.length",
         "fatal: FATAL: Corrupt array vector at 0x"},
    };
    expectRows(rows);
}

TEST(FusedRuns, BehaveAsTheirInstructions)
{
    const Row rows[] = {
        {"PUSH32 5|LOCADDR8 -1|DEC|LDLOC8 -1|ITOS|NATIVE Debug.log", "4 "},
        {"PUSH32 -7|PUSH32 3|MOD|ITOS|NATIVE Debug.log", "-1 "},
        {"PUSH32 -7|PUSH32 -1|MOD|ITOS|NATIVE Debug.log", "0 "},
        {"PUSH32 7|PUSH32 0|MOD", "fatal: FATAL: uncaught DivisionByZeroException"},
        // The constant stays above the top, where LDLOC8 0 reads it.
        {"PUSH32 4|PUSH32 3|ADD|LDLOC8 0|ITOS|NATIVE Debug.log", "3 "},
        // A jump to the second instruction runs it alone.
        {"PUSH32 9|PUSH32 1|JMP16 m|PUSH32 5|m:|SUB|ITOS|NATIVE Debug.log", "8 "},
        {"PUSH0|LDLOC8 -1|JZ16 z|PUSHSTR \"no\"|NATIVE Debug.log|z:|PUSHSTR \"z\"|NATIVE Debug.log",
         "z "},
        // A constant, a comparison and the branch on it; the constant and the result stay
        // above the top.
        {"PUSH32 3|PUSH32 5|LT|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|LDLOC8 1|ITOS|"
         "NATIVE Debug.log",
         "t 5 "},
        {"PUSH32 7|PUSH32 5|LE|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|LDLOC8 0|ITOS|"
         "NATIVE Debug.log",
         "0 "},
        {"PUSH32 4|PUSH32 4|EQ|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|LDLOC8 1|ITOS|"
         "NATIVE Debug.log",
         "t 4 "},
        {"PUSH32 4|PUSH32 4|NE|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|PUSHSTR \"n\"|"
         "NATIVE Debug.log",
         "n "},
        {"PUSH32 5|PUSH32 4|GT|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|PUSHSTR \"n\"|"
         "NATIVE Debug.log",
         "t n "},
        {"PUSH32 3|PUSH32 4|GE|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|PUSHSTR \"n\"|"
         "NATIVE Debug.log",
         "n "},
        {"PUSH0|PUSH32 1|GE|JZ16 1000", "fatal: FATAL: Internal error: jump outside the code"},
        // The same on a local, and arithmetic on a local and a constant.
        {"PUSH32 3|LDLOC8 -1|PUSH32 5|LT|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|LDLOC8 1|ITOS|"
         "NATIVE Debug.log",
         "t 5 "},
        {"PUSH32 7|LDLOC8 -1|PUSH32 7|NE|JZ16 n|PUSHSTR \"t\"|NATIVE Debug.log|n:|LDLOC8 0|ITOS|"
         "NATIVE Debug.log",
         "0 "},
        {"PUSH32 9|LDLOC8 -1|PUSH32 4|SUB|ITOS|NATIVE Debug.log", "5 "},
        {"PUSH32 9|LDLOC8 -1|PUSH32 4|ADD|LDLOC8 0|ITOS|NATIVE Debug.log", "4 "},
        {"LDLOC8 -5|PUSH32 1|SUB", "fatal: FATAL: Operand stack underflow (index -4)"},
        {"PUSH0|LDLOC8 -1|PUSH32 1|GE|JZ16 1000",
         "fatal: FATAL: Internal error: jump outside the code"},
        // Loop ends: the exit test, the step and the jump back.
        {"PUSH0|PUSH32 3|l:|LOCADDR8 -2|INC|LOCADDR8 -1|DEC|LDLOC8 -1|JZ16 d|JMP16 l|d:|"
         "LDLOC8 -2|ITOS|NATIVE Debug.log",
         "3 "},
        {"PUSH32 7|LOCADDR8 -1|INC|JMP16 c|PUSHSTR \"no\"|NATIVE Debug.log|c:|LDLOC8 -1|ITOS|"
         "NATIVE Debug.log",
         "8 "},
        {"PUSH32 2|j:|LOCADDR8 -1|DEC|JMP16 c|c:|LDLOC8 -1|JZ16 e|JMP16 j|e:|LDLOC8 -1|ITOS|"
         "NATIVE Debug.log",
         "0 "},
        {"PUSH32 1|LDLOC8 -1|JZ16 z|JMP16 1000|z:|NOP",
         "fatal: FATAL: Internal error: jump outside the code"},
        {"PUSH0|LOCADDR8 -1|INC|JMP16 1000", "fatal: FATAL: Internal error: jump outside the code"},
        // Pairs that would fault fault as the first instruction does, at its position.
        {"LDLOC8 -5|JZ16 l|l:|NOP", "fatal: FATAL: Operand stack underflow (index -4)"},
        {"PUSH0|LDLOC8 -1|JZ16 1000", "fatal: FATAL: Internal error: jump outside the code"},
    };
    expectRows(rows);
}

} // namespace
