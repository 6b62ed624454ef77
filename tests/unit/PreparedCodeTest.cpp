// SPDX-License-Identifier: MIT
// Code prepared at load: NATIVE sites bound to their handlers (the array operations the
// interpreter runs in line fault exactly as the registry's handlers do, and a site nobody
// answers fails only when it runs), and the runs of two to five instructions the threaded
// interpreter runs fused, which must behave as they do unfused (the switch build runs the same
// rows).
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

// Runs main ('|' separates lines; after "@@" come directives and functions) and returns what
// it logged, then "fatal: " and the first line of standard error when the invocation ended as
// fatal. A managed error goes to a vminternalthrow that logs its text, the position after the
// instruction that raised it and the top of the stack then, and ends the invocation.
std::string run(const std::string& code)
{
    const std::string hook = ".function @internalthrow hook|hook:|LDLOC8 -2|NATIVE Debug.log|"
                             "LDLOC8 -1|ITOS|NATIVE Debug.log|LDLOC8 -4|ITOS|NATIVE Debug.log|"
                             "LOCADDR8 -1|PUSH32 -1|STORE|RET 0, 2";
    const bool hasFunctions = code.find("@@") != std::string::npos;
    const MainRun ran =
        runMain(mainSource(code + (hasFunctions ? "|" : "@@") + hook, "PUSH32 -1\nRET 0, 0\n"));
    std::string out;
    for (const std::string& line : ran.lines)
        out += line + " ";
    if (ran.outcome == -2) out += "fatal: " + ran.err.substr(0, ran.err.find('\n'));
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
        {"PUSH0|NATIVE IntArray, 99", "VMException: Vector:3"},
        {"NATIVE 0, 1", "fatal: FATAL: Internal error: invalid group in native call: 0"},
        {"NATIVE 2, 6", "fatal: FATAL: Internal error: invalid group in native call: 2"},
        {"NATIVE 37, 1", "fatal: FATAL: Internal error: invalid group in native call: 37"},
        {"PUSH0|NATIVE KeyEvent, 9", "VMException: KeyEvent: invalid opcode 9"},
        // Append, length and element address agree with each other.
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|DUP|PUSH32 9|"
         "NATIVE IntArray.append|DUP|NATIVE IntArray.length|ITOS|NATIVE Debug.log|PUSH32 1|"
         "NATIVE IntArray.elementRef|LOAD|ITOS|NATIVE Debug.log",
         "2 9 "},
        // Faults: operands missing, a null array, an index outside, a vector of other elements.
        {"NATIVE IntArray.elementRef", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"FRAME8 -1|NATIVE IntArray.length", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"PUSH0|PUSH0|NATIVE IntArray.elementRef", "NullPointerException: NULL pointer"},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|PUSH32 -1|NATIVE IntArray.elementRef",
         "IndexOutOfBoundsException"},
        {"NEW NATIVE, 2|DUP|NEWARRAY 1|NATIVE IntArray.length",
         "fatal: FATAL: Corrupt array vector at 0x"},
        // A vector or storage header changed after an element was reached is checked again,
        // by an append or an element address.
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|DUP|PUSH0|"
         "NATIVE IntArray.elementRef|LOAD|ITOS|NATIVE Debug.log|DUP|LOAD|PUSH32 12|ADD|"
         "PUSH32 11|STORE|PUSH32 9|NATIVE IntArray.append",
         "7 fatal: FATAL: Corrupt array vector at 0x"},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|DUP|PUSH0|"
         "NATIVE IntArray.elementRef|LOAD|ITOS|NATIVE Debug.log|DUP|LOAD|PUSH32 4|ADD|LOAD|"
         "PUSH32 8|SUB|PUSH32 1|STORE|PUSH0|NATIVE IntArray.elementRef",
         "7 fatal: FATAL: Corrupt array vector at 0x"},
        // The String sites: append of a character and length, their missing operands, a null
        // box and a box that holds no string.
        {"PUSHSTR \"ab\"|DUP|PUSH32 99|NATIVE String.append_c|DUP|NATIVE String.length|ITOS|"
         "NATIVE Debug.log|NATIVE Debug.log",
         "3 abc "},
        {"NATIVE String.append_c", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"FRAME8 -1|NATIVE String.length", "fatal: FATAL: Operand stack underflow (index -1)"},
        {"PUSH0|PUSH32 99|NATIVE String.append_c", "NullPointerException: NULL pointer 9 99 "},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|NATIVE String.length",
         "VMException: invalid native object reference 4 12 "},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|PUSH32 99|NATIVE String.append_c",
         "VMException: invalid native object reference 4 17 99 "},
        // fromInt then append is one step; a fault is still the append's, at its position.
        {"PUSHSTR \"n\"|DUP|PUSH32 -12|NATIVE String.fromInt|NATIVE String.append|"
         "NATIVE Debug.log",
         "n-12 "},
        {"PUSH0|PUSH32 7|NATIVE String.fromInt|NATIVE String.append",
         "NullPointerException: NULL pointer 12 "},
        {"NEW NATIVE, 2|DUP|NEWARRAY 4|PUSH32 7|NATIVE String.fromInt|NATIVE String.append",
         "VMException: invalid native object reference 4 20 "},
    };
    expectRows(rows);
}

TEST(FusedRuns, BehaveAsTheirInstructions)
{
    const Row rows[] = {
        {"PUSH32 5|LOCADDR8 -1|DEC|LDLOC8 -1|ITOS|NATIVE Debug.log", "4 "},
        {"PUSH32 -7|PUSH32 3|MOD|ITOS|NATIVE Debug.log", "-1 "},
        {"PUSH32 -7|PUSH32 -1|MOD|ITOS|NATIVE Debug.log", "0 "},
        {"PUSH32 7|PUSH32 0|MOD", "DivisionByZeroException"},
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
        // Assignments to locals: the address, the result and the constant stay above the top.
        {"PUSH32 10|PUSH32 6|LOCADDR8 -2|LDLOC8 -2|PUSH32 3|AND|ADDSET|LDLOC8 -2|ITOS|"
         "NATIVE Debug.log|LDLOC8 1|ITOS|NATIVE Debug.log|LDLOC8 2|ITOS|NATIVE Debug.log",
         "12 2 3 "},
        {"PUSH32 10|PUSH32 6|LOCADDR8 -1|LDLOC8 -3|PUSH32 3|SUB|STORE|LDLOC8 -1|ITOS|"
         "NATIVE Debug.log",
         "7 "},
        // A count-down step on one local and the exit test on another.
        {"PUSH32 3|PUSH0|LOCADDR8 -2|DEC|LDLOC8 -1|JZ16 d|JMP16 n|d:|LDLOC8 -2|ITOS|"
         "NATIVE Debug.log|n:|NOP",
         "2 "},
        // A loop body of an assignment and the count-down of one local, repeated in its
        // handler while it jumps to itself; the exit leaves the stack above the top as the
        // unfused run does; a slot outside the stack and a count-down of another local
        // (the pair of runs) keep their own behaviour.
        {"PUSH32 4|PUSH0|l:|LOCADDR8 -1|LDLOC8 -3|PUSH32 3|ADD|ADDSET|LOCADDR8 -2|DEC|"
         "LDLOC8 -2|JZ16 d|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log|LDLOC8 1|ITOS|"
         "NATIVE Debug.log|LDLOC8 2|ITOS|NATIVE Debug.log",
         "22 4 3 "},
        {"PUSH32 3|PUSH32 9|l:|NOP|LOCADDR8 -1|LDLOC8 -3|PUSH32 1|SUB|STORE|LOCADDR8 -2|DEC|"
         "LDLOC8 -2|JZ16 d|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log",
         "0 "},
        {"PUSH32 2|PUSH0|PUSH0|l:|LOCADDR8 -1|LDLOC8 -4|PUSH32 7|AND|ADDSET|LOCADDR8 -3|DEC|"
         "LDLOC8 -2|JZ16 d|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log",
         "2 "},
        {"PUSH32 2|LOCADDR8 -1|LDLOC8 -9|PUSH32 1|ADD|ADDSET|LOCADDR8 -1|DEC|LDLOC8 -1|JZ16 d|"
         "JMP16 d|d:|NOP",
         "fatal: FATAL: Operand stack underflow (index -6)"},
        // Whole counting loops over a global int array (the first round finds no remembered
        // vector and goes on unfused, the step leads back into the loop), their faults at the
        // element address, the body runs alone, and steps fused with other loop tests.
        {"PUSHGLOBALS|NEWARRAY 4|PUSHGLOBALS|PUSH32 5|NATIVE IntArray.append|PUSHGLOBALS|"
         "PUSH32 6|NATIVE IntArray.append|PUSH0|PUSH0|l:|LDLOC8 -2|PUSH32 2|LT|JZ16 d|"
         "LOCADDR8 -1|PUSHGLOBALS|LDLOC8 -4|NATIVE IntArray.elementRef|LOAD|ADDSET|LOCADDR8 -2|"
         "INC|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log|LDLOC8 1|ITOS|NATIVE Debug.log"
         "@@.globals 2",
         "11 2 "},
        {"PUSHGLOBALS|NEWARRAY 4|PUSHGLOBALS|PUSH32 5|NATIVE IntArray.append|PUSH0|PUSH0|l:|"
         "LDLOC8 -2|PUSH32 2|LT|JZ16 d|LOCADDR8 -1|PUSHGLOBALS|LDLOC8 -4|"
         "NATIVE IntArray.elementRef|LOAD|ADDSET|LOCADDR8 -2|INC|JMP16 l|d:|NOP@@.globals 2",
         "IndexOutOfBoundsException 33 1 "},
        {"PUSH0|PUSH0|l:|LDLOC8 -2|PUSH32 2|LT|JZ16 d|LOCADDR8 -1|PUSHGLOBALS|LDLOC8 -4|"
         "NATIVE IntArray.elementRef|LOAD|ADDSET|LOCADDR8 -2|INC|JMP16 l|d:|NOP",
         "NullPointerException: NULL pointer 21 0 "},
        {"PUSHGLOBALS|PUSH32 0|PUSH32 3|NATIVE IntArray.initFilled|PUSH0|l:|LDLOC8 -1|PUSH32 3|"
         "LT|JZ16 d|PUSHGLOBALS|LDLOC8 -2|NATIVE IntArray.elementRef|LDLOC8 -2|STORE|"
         "LOCADDR8 -1|INC|JMP16 l|d:|PUSHGLOBALS|PUSH32 2|NATIVE IntArray.elementRef|LOAD|ITOS|"
         "NATIVE Debug.log@@.globals 2",
         "2 "},
        {"PUSHGLOBALS|NEWARRAY 4|PUSHGLOBALS|PUSH32 5|NATIVE IntArray.append|PUSH32 7|PUSH0|"
         "PUSH0|PUSHGLOBALS|LDLOC8 -3|NATIVE IntArray.elementRef|LDLOC8 -4|STORE|LOCADDR8 -1|"
         "PUSHGLOBALS|LDLOC8 -4|NATIVE IntArray.elementRef|LOAD|ADDSET|LDLOC8 -1|ITOS|"
         "NATIVE Debug.log@@.globals 2",
         "7 "},
        {"PUSH0|PUSH0|l:|LDLOC8 -2|PUSH32 3|LE|JZ16 d|LOCADDR8 -1|LDLOC8 -3|ADDSET|LOCADDR8 -2|"
         "INC|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log",
         "6 "},
        {"PUSH0|PUSH0|l:|LDLOC8 -2|PUSH32 3|NE|JZ16 d|LOCADDR8 -1|LDLOC8 -3|ADDSET|LOCADDR8 -2|"
         "INC|JMP16 l|d:|LDLOC8 -1|ITOS|NATIVE Debug.log",
         "3 "},
        // Calls, virtual calls and returns with their neighbours.
        {"PUSH0|PUSH32 6|CALL f, none|ITOS|NATIVE Debug.log@@f:|LDLOC8 -2|PUSH32 2|LT|JZ16 r|"
         "LOCADDR8 -3|LDLOC8 -3|STORE|RET 0, 2|r:|LOCADDR8 -3|PUSH0|LDLOC8 -4|PUSH32 1|SUB|"
         "CALL f, none|PUSH0|LDLOC8 -5|PUSH32 2|SUB|CALL f, none|ADD|STORE|RET 0, 2",
         "8 "},
        // One virtual call site whose receiver alternates between two classes: the first
        // call of each fills the remembered targets, later calls find them.
        {"NEW CLASS_OBJECT, 1|DUP|SETCLASS K|NEW CLASS_OBJECT, 1|DUP|SETCLASS L|PUSH32 4|l:|"
         "PUSH0|LDLOC8 -4|DUP|LOAD|CALLV \"s\"|ITOS|NATIVE Debug.log|LOCADDR8 -3|LDLOC8 -3|"
         "LOCADDR8 -4|LDLOC8 -6|STORE|STORE|LOCADDR8 -1|DEC|LDLOC8 -1|JZ16 d|JMP16 l|d:|NOP"
         "@@.class K|.class L|.selector \"s\"|.impl K g|.impl L h|g:|LOCADDR8 -3|PUSH32 21|"
         "STORE|RET 0, 2|h:|LOCADDR8 -3|PUSH32 22|STORE|RET 0, 2",
         "21 22 21 22 "},
        {"NEW CLASS_OBJECT, 1|DUP|SETCLASS K|PUSH0|LDLOC8 -2|DUP|LOAD|CALLV \"s\"|ITOS|"
         "NATIVE Debug.log@@.class K|.selector \"s\"|.impl K g|g:|LOCADDR8 -3|PUSH32 21|STORE|"
         "RET 0, 2",
         "21 "},
        // A fault inside a run is raised by its instruction, at its position (the position
        // after it is logged) and with the stack as that instruction found it.
        {"PUSHGLOBALS|FLDADDR8 1|LOAD", "NullPointerException: NULL pointer 3 0 "},
        {"PUSH0|PUSH0|LDLOC8 -1|NATIVE IntArray.elementRef|LOAD",
         "NullPointerException: NULL pointer 7 "},
        {"PUSH32 5|NEW NATIVE, 2|DUP|NEWARRAY 4|LDLOC8 -2|NATIVE IntArray.elementRef|LOAD",
         "IndexOutOfBoundsException 19 5 "},
        {"PUSH0|PUSH0|NATIVE IntArray.elementRef|LDLOC8 -1|STORE",
         "NullPointerException: NULL pointer 5 "},
        {"PUSH32 5|LOCADDR8 -1|NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|"
         "PUSH0|NATIVE IntArray.elementRef|LOAD|ADDSET|LDLOC8 -1|ITOS|NATIVE Debug.log",
         "12 "},
        {"PUSH0|NEW NATIVE, 2|DUP|NEWARRAY 4|DUP|PUSH32 7|NATIVE IntArray.append|PUSH0|"
         "NATIVE IntArray.elementRef|LOAD|ADDSET",
         "NullPointerException: NULL pointer 25 7 "},
        {"PUSH0|DUP|LOAD|CALLV \"s\"@@.selector \"s\"", "NullPointerException: NULL pointer 3 0 "},
        {"PUSH0|PUSH0|ADD|LOAD", "NullPointerException: NULL pointer 4 0 "},
        {"PUSH0|PUSH0|PUSH32 4|ADD|STORE|RET 0, 0", "NullPointerException: NULL pointer 9 4 "},
        {"PUSH0|PUSH0|STORE|RET 0, 0", "NullPointerException: NULL pointer 3 0 "},
        {"LOCADDR8 -1|LDLOC8 -9|STORE|RET 0, 0",
         "fatal: FATAL: Operand stack underflow (index -7)"},
        {"LOCADDR8 -1|PUSH32 5|STORE|RET 0, 9", "fatal: FATAL: Operand stack underflow (index -2)"},
        {"PUSH32 5|PUSH0|LDLOC8 -2|STORE", "NullPointerException: NULL pointer 9 5 "},
        {"PUSH0|PUSH0|LOCADDR8 -1|LDLOC8 -9|STORE",
         "fatal: FATAL: Operand stack underflow (index -5)"},
        {"PUSH0|LDLOC8 -1|PUSH32 1|SUB|CALL main, 99",
         "fatal: FATAL: Internal error: invalid method info index"},
        // An argument from a slot just pushed; a local outside the stack faults at the LDLOC8.
        {"PUSH32 7|LOCADDR8 -1|PUSH0|LDLOC8 -1|PUSH32 1|SUB|CALL f, none@@f:|LDLOC8 -2|ITOS|"
         "NATIVE Debug.log|RET 0, 0",
         "-1 "},
        {"LOCADDR8 -1|PUSH0|LDLOC8 -9|PUSH32 1|SUB|CALL main, none",
         "fatal: FATAL: Operand stack underflow (index -6)"},
        {"PUSH0|LDLOC8 -9|PUSH32 1|SUB|CALL main, none",
         "fatal: FATAL: Operand stack underflow (index -7)"},
        // Pairs that would fault fault as the first instruction does, at its position.
        {"LDLOC8 -5|JZ16 l|l:|NOP", "fatal: FATAL: Operand stack underflow (index -4)"},
        {"PUSH0|LDLOC8 -1|JZ16 1000", "fatal: FATAL: Internal error: jump outside the code"},
    };
    expectRows(rows);
}

} // namespace
