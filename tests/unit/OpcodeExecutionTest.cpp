// SPDX-License-Identifier: MIT
// Every opcode executed at least once: each row is a piece of main ('|' separates lines; after
// "@@" come directives and functions) that leaves its answer on top of the stack.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

struct Row {
    const char* code;
    int32_t top;
};

// Word and byte stores work on a one-word box (BOXW) holding the first value.
const Row kRows[] = {
    {"PUSH32 7|NOP", 7},
    {"PUSH32 7|PUSH32 8|LDLOC8 -2", 7},
    {"PUSH32 7|PUSH32 8|LDLOC32 -2", 7},
    {"PUSH32 7|PUSH32 8|LOCADDR8 -2|LOAD", 7},
    {"PUSH32 7|PUSH32 8|LOCADDR32 -1|LOAD", 8},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|FLDADDR8 1|LOAD", 6},
    {"PUSH32 5|PUSH32 6|MKBLOCK32 2|FLDADDR32 0|LOAD", 5},
    {"PUSH32 4|FRAME8 2|FRAME8 -2", 4},
    {"PUSH32 4|PUSH32 5|FRAME32 -1", 4},
    {"PUSH32 4|FRAME32 1", 0},
    {"PUSH0|JZ16 a|PUSH32 1|JMP16 b|a:|PUSH32 2|b:|NOP", 2},
    {"PUSH32 1|JZ32 a|PUSH32 3|JMP32 b|a:|PUSH32 2|b:|NOP", 3},
    {"PUSH32 3|CALL f, none|@@f:|PUSH32 4|LDLOC8 -3|ADD|RET 1, 0", 7},
    {"NEW CLASS_OBJECT, 1|DUP|SETCLASS K|LOAD|CALLV \"s\""
     "|@@.class K|.selector \"s\"|.impl K g|g:|PUSH32 21|RET 1, 0",
     21},
    {"NEW NATIVE, 2|FLDADDR8 1|LOAD", 0},
    {"PUSH32 5|DUP|ADD", 10},
    {"PUSH0|NOT", -1},
    {"PUSHSTR \"abc\"|NATIVE String.length", 3},
    {"NEW CLASS_OBJECT, 1|DUP|SETCLASS B|LOAD|NEW CLASS_OBJECT, 1|DUP|SETCLASS A|LOAD|SUB"
     "|@@.class A|.class B",
     1},
    {"PUSH0|BOXW|DUP|PUSH32 6|STORE|LOAD", 6},
    {"PUSH32 6|BOXW|DUP|STOREZ|LOAD", 0},
    {"PUSH0|BOXW|DUP|PUSH32 6|STORE2|LOAD", 6},
    {"PUSH32 7|PUSH32 -2|ADD", 5},
    {"PUSH32 7|PUSH32 -2|SUB", 9},
    {"PUSH32 7|PUSH32 -2|MUL", -14},
    {"PUSH32 7|PUSH32 -2|DIV", -3},
    {"PUSH32 7|PUSH32 -1|DIV", -7},
    {"PUSH32 -7|PUSH32 2|MOD", -1},
    {"PUSH32 7|NEG", -7},
    {"PUSH32 6|BOXW|DUP|INC|LOAD", 7},
    {"PUSH32 6|BOXW|DUP|DEC|LOAD", 5},
    {"PUSH32 6|BOXW|DUP|PUSH32 3|ADDSET|LOAD", 9},
    {"PUSH32 6|BOXW|DUP|PUSH32 3|SUBSET|LOAD", 3},
    {"PUSH32 6|BOXW|DUP|PUSH32 3|MULSET|LOAD", 18},
    {"PUSH32 -7|BOXW|DUP|PUSH32 2|DIVSET|LOAD", -3},
    {"PUSH32 7|BOXW|DUP|PUSH32 -4|MODSET|LOAD", 3},
    {"PUSH32 3|PUSH32 3|EQ", -1},
    {"PUSH32 -1|PUSH32 1|LT", -1},
    {"PUSH32 1|DUP|LT", 0}, // equal operands, and no constant before LT to fuse with
    {"PUSH32 2|PUSH32 1|LE", 0},
    {"PUSH32 2|PUSH32 2|NE", 0},
    {"PUSH32 1|PUSH32 -1|GT", -1},
    {"PUSH32 1|PUSH32 2|GE", 0},
    {"PUSH32 12|PUSH32 10|AND", 8},
    {"PUSH32 12|PUSH32 10|OR", 14},
    {"PUSH32 12|PUSH32 10|XOR", 6},
    {"PUSH32 1|PUSH32 33|SHL", 0},
    {"PUSH32 -8|PUSH32 1|SHR", -4},
    {"PUSH32 12|BOXW|DUP|PUSH32 10|ANDSET|LOAD", 8},
    {"PUSH32 12|BOXW|DUP|PUSH32 10|ORSET|LOAD", 14},
    {"PUSH32 12|BOXW|DUP|PUSH32 10|XORSET|LOAD", 6},
    {"PUSH32 3|BOXW|DUP|PUSH32 2|SHLSET|LOAD", 12},
    {"PUSH32 -16|BOXW|DUP|PUSH32 2|SHRSET|LOAD", -4},
    {"PUSH32 -42|ITOS|NATIVE String.length", 3},
    {"PUSH32 0x1ff|TOBYTE", 255},
    {"PUSHTRUE", -1},
    {"PUSHTRUE2", -1},
    {"PUSH32 2|PUSH32 3|LAND", -1},
    {"PUSH0|PUSH32 3|LOR", -1},
    {"PUSH32 2|PUSH32 3|LXOR", 0},
    {"PUSH32 2|PUSH32 3|BEQ", 1},
    {"PUSH0|PUSH32 3|BNE", 1},
    {"PUSH64 0x500000007|SUB", 2},
    {"PUSH32 0x1fe|PUSH32 2|DIV8", -1},
    {"PUSH32 7|PUSH32 0x103|MOD8", 1},
    {"PUSH32 0x181|PUSH32 1|SHL8", -254},
    {"PUSH32 0x80|PUSH32 1|SHR8", -64},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|DUP|CLEAR8 1|LOADN8 2|ADD", 6},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|DUP|CLEAR32 2|LOADN32 2|ADD", 0},
    {"PUSH0|PUSH0|MKBLOCK8 2|PUSH32 5|PUSH32 6|MKBLOCK8 2|COPY8 2|LOADN8 2|SUB", -1},
    {"PUSH0|PUSH0|MKBLOCK8 2|PUSH32 9|PUSH32 6|MKBLOCK8 2|COPY32 1|LOADN8 2|SUB", 9},
    {"PUSH0|PUSH0|MKBLOCK8 2|DUP|PUSH32 3|PUSH32 4|STOREN8 2|LOADN8 2|SUB", -1},
    {"PUSH0|PUSH0|MKBLOCK8 2|DUP|PUSH32 9|PUSH32 4|STOREN32 2|LOADN32 2|SUB", 5},
    {"PUSH32 0x1ff|SEXT8 1", -1},
    {"FRAME8 2|LOCADDR8 -2|NEWARRAY 4", 4},
    {"TRY -1, h|NEW CLASS_OBJECT, 1|THROW|PUSH32 1|JMP16 e|h:|FRAME8 -1|PUSH32 2|e:|NOP", 2},
    {"TRY -1, h|ENDTRY -1|PUSH32 3|h:|NOP", 3},
    {"NEW NATIVE, 1|DUP|FREE|NEW NATIVE, 1|EQ", -1}, // the released block is the next one
    {"NEW NATIVE, 1|BOXR|DUP|FREEBOX|NEW NATIVE, 1|NEW NATIVE, 1|LDLOC8 -3|EQ", -1},
    {"PUSHGLOBALS|PUSH32 3|STORE|PUSHGLOBALS|LOAD|@@.globals 1", 3},
    {"PUSH32 8|BOXR|LOAD", 8},
    {"PUSH32 8|BOXW|LDLOCI1 -1", 8},
    {"PUSH32 8|BOXW|BOXW|LDLOCI2 -1", 8},
    {"PUSH32 8|BOXW|BOXW|BOXW|LDLOCI3 -1", 8},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|BOXW|LOCFLD1 -1, 1|LOAD", 6},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|BOXW|BOXW|LOCFLD2 -1, 1|LOAD", 6},
    {"PUSH32 5|PUSH32 6|MKBLOCK8 2|BOXW|BOXW|BOXW|LOCFLD3 -1, 0|LOAD", 5},
    {"PUSH32 8|BOXW|BOXW|DEREF2", 8},
    {"PUSH32 8|BOXW|BOXW|BOXW|DEREF3", 8},
    {"PUSH0|BOXW|DUP|NEWOBJ NATIVE, 2, 0|DEREF2", 0},
    {"PUSH32 1|BOXW|NEWOBJK NATIVE, 2, 0|DEREF2", 0},
    {"PUSH32 0x1ff|BOXW|DUP|INC8|LOAD", 0x100},
    {"PUSH32 0x100|BOXW|DUP|DEC8|LOAD", 0x1ff},
    {"PUSH32 200|BOXW|DUP|PUSH32 100|ADDSET8|LOAD", 44},
    {"PUSH32 5|BOXW|DUP|PUSH32 6|SUBSET8|LOAD", 255},
    {"PUSH32 16|BOXW|DUP|PUSH32 17|MULSET8|LOAD", 16},
    {"PUSH32 100|BOXW|DUP|PUSH32 7|DIVSET8|LOAD", 14},
    {"PUSH32 100|BOXW|DUP|PUSH32 7|MODSET8|LOAD", 2},
    {"PUSH32 0x1f0|BOXW|DUP|PUSH32 0x3c|ANDSET8|LOAD", 0x130},
    {"PUSH32 0x101|BOXW|DUP|PUSH32 2|ORSET8|LOAD", 0x103},
    {"PUSH32 0xff|BOXW|DUP|PUSH32 0x0f|XORSET8|LOAD", 0xf0},
    {"PUSH32 0x81|BOXW|DUP|PUSH32 1|SHLSET8|LOAD", 2},
    {"PUSH32 0x40|BOXW|DUP|PUSH32 2|SHRSET8|LOAD", 0x10},
    {"PUSH32 0x1ff|BOXW|DUP|STOREZ8|LOAD", 0x100},
    {"PUSH32 0x100|BOXW|DUP|PUSH32 0x2ab|STORE8|LOAD", 0x1ab},
    {"PUSH32 0x101|PUSH32 1|EQ8", -1},
    {"PUSH32 0xff|PUSH32 1|LT8", -1},
    {"PUSH32 0x80|PUSH32 0x7f|LE8", -1},
    {"PUSH32 0x100|PUSH0|NE8", 0},
    {"PUSH32 1|PUSH32 0xff|GT8", -1},
    {"PUSH32 0x7f|PUSH32 0x80|GE8", -1},
    {"PUSH32 0x12345|BOXW|DUP|STOREZ16|LOAD", 0x10000},
    {"PUSH32 0x10000|BOXW|DUP|PUSH32 0x2abcd|STORE16|LOAD", 0x1abcd},
    {"PUSH32 0x10001|PUSH32 1|EQ16", -1},
    {"PUSH32 0xffff|PUSH32 1|LT16", -1},
    {"PUSH32 0x8000|PUSH32 0x7fff|LE16", -1},
    {"PUSH32 0x10000|PUSH0|NE16", 0},
    {"PUSH32 1|PUSH32 0xffff|GT16", -1},
    {"PUSH32 0x7fff|PUSH32 0x8000|GE16", -1},
};

TEST(OpcodeExecution, EveryOpcodeLeavesItsAnswerOnTop)
{
    // The harness itself runs ITOS, NATIVE, PUSH32 and RET; EXTCALL ends in the fatal table.
    std::set<std::string> executed = {"ITOS", "NATIVE", "PUSH32", "RET", "EXTCALL"};
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.code);
        const MainRun run =
            runMain(mainSource(row.code, "ITOS\nNATIVE Debug.log\nPUSH32 -1\nRET 0, 0\n"));
        EXPECT_EQ(run.lines, std::vector<std::string>{std::to_string(row.top)});
        std::string text = row.code;
        std::replace(text.begin(), text.end(), '|', ' ');
        std::istringstream words(text);
        for (std::string word; words >> word;)
            executed.insert(word);
    }
#define OPCODE(name, byte, operands, reloc) EXPECT_TRUE(executed.count(#name)) << #name;
#include "VirtualMachine/Opcodes.def"
#undef OPCODE
}

} // namespace
