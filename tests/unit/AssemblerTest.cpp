// SPDX-License-Identifier: MIT
// The assembler's directives, labels, error lines, macros and includes, and the round trip
// assemble -> disassemble -> assemble over the sources of the tests and examples.
#include "image/Assembler.h"
#include "FileTestSupport.h"
#include "image/Disassembler.h"
#include "image/ImageReader.h"
#include "image/ImageWriter.h"
#include "image/Names.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace zelmo;
using namespace zelmo::image;

namespace {

std::vector<uint8_t> asmBytes(const std::string& source)
{
    return assembleToBytes(source, "t.asm");
}

std::string asmError(const std::string& source, const std::string& name = "t.asm")
{
    try {
        assembleToBytes(source, name);
    } catch (const AssemblyError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<uint8_t> codeOf(const std::string& source)
{
    return readImage(asmBytes(source)).code;
}

// assemble(text) == bytes, disassemble(bytes) assembles back to bytes.
void expectRoundTrip(const std::vector<uint8_t>& bytes, const std::string& what)
{
    const Image image = readImage(bytes);
    ASSERT_EQ(writeImage(image), bytes) << what;
    const std::string listing = disassemble(image);
    std::vector<uint8_t> again;
    try {
        again = assembleToBytes(listing, what + ".dis");
    } catch (const std::exception& e) {
        FAIL() << what << ": " << e.what() << "\n" << listing;
    }
    EXPECT_EQ(again, bytes) << what << "\n" << listing;
}

} // namespace

TEST(Assembler, DirectivesProduceTheDocumentedBytes)
{
    const std::string source = R"(
.identity 000102030405060708090a0b0c0d0e0f 10111213   ; spaces are allowed
.globals 3
.frame f params=2 locals=1 refs=0 arrays=1* exact=3 inline=4
.function "main" start info=f
.class A refs=1
.class B parent=A arrays=2*,3 skip=7
.selector "s"
.impl B start info=f
.string "\u{e9}"
start:
    PUSHSTR "\u{e9}"
    RET 0, 0
)";
    std::vector<uint8_t> expected = {20};
    for (int i = 0; i < 20; ++i)
        expected.push_back(uint8_t(i));
    const std::vector<uint8_t> rest = {
        0xFF, 0xFF, 1, 1, 1, 1,  1, 1, 1,    1,    1,              // marker, widths
        1,    0,    0, 0, 4, 0,  0, 0, 'm',  'a',  'i', 'n', 0, 0, // functions
        1,    0,    0, 0, 1, 0,  0, 0, 's',  1,    1,   0,   0,    // selectors
        3,    0,    0, 0,                                          // globals
        2,    0,    0, 0,                                          // classes
        1,    1,    0, 0, 0, 1,  0, 0, 0,    0,    0,   0,         // A
        1,    0,    0, 0, 0, 2,  0, 0, 0,    0xFF, 2,   0,   3, 1,
        0,    1,    7, // B
        1,    0,    0, 0, 1, 2,  1, 0, 0,    0,    0,   1,   0, 0,
        0,    0xFF, 1,                                             // frame, up to arrays
        0,    1,    1, 0, 0, 0,  3, 1, 0,    0,    0,   0,   4,    // slot2, slot3, exact, inline
        1,    0,    0, 0, 2, 0,  0, 0, 0xC3, 0xA9,                 // strings
        21,   0,    0, 0, 0, 16, 0, 0, 0,    0,    0,   0,   0, 0, // code
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(asmBytes(source), expected);
}

TEST(Assembler, LabelsResolveForwardAndWithOffsets)
{
    // Where branches land is OpcodeExecution's; here a label after the last instruction, used
    // before its definition, and a label with an offset.
    EXPECT_EQ(codeOf("JMP16 e\nNOP\ne:\n"), (std::vector<uint8_t>{12, 2, 0, 0}));
    EXPECT_EQ(codeOf("top: NOP\nCALL top+1, 0\n"),
              (std::vector<uint8_t>{0, 14, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Assembler, ErrorsNameTheLine)
{
    EXPECT_EQ(asmError("NOP\nFROB 1\n"), "t.asm:2: unknown instruction 'FROB'");
    EXPECT_EQ(asmError("\n\nJMP16 nowhere\n"), "t.asm:3: unknown label 'nowhere'");
    EXPECT_EQ(asmError("a: NOP\na: NOP\n"), "t.asm:2: label 'a' defined twice");
    EXPECT_EQ(asmError("FRAME8 300\n"), "t.asm:1: operand 300 is out of range (-128..255)");
    EXPECT_EQ(asmError("NOP\nSETCLASS Nope\n"), "t.asm:2: unknown class 'Nope'");
    EXPECT_EQ(asmError("PUSHSTR \"abc\n"), "t.asm:1: unterminated string");
    EXPECT_EQ(asmError("PUSHSTR \"\\q\"\n"), "t.asm:1: unknown escape \\q");
    EXPECT_EQ(asmError("RET 1\n"), "t.asm:1: expected ',', found end of line");
    EXPECT_EQ(asmError("NOP 1\n"), "t.asm:1: expected end of line, found number 1");
    EXPECT_EQ(asmError(".bogus\n"), "t.asm:1: unknown directive '.bogus'");
    EXPECT_EQ(asmError("CALLV \"nope\"\n"), "t.asm:1: no selector named \"nope\"");
    EXPECT_EQ(asmError(".impl 0 0\n"), "t.asm:1: .impl before any .selector");
    EXPECT_EQ(asmError(".function @nope 0\n"), "t.asm:1: unknown signature alias '@nope'");
    EXPECT_EQ(asmError(".function @main(1) 0\n"), "t.asm:1: @main takes 0 depth(s)");
    EXPECT_EQ(asmError(".class A hasparent=2\n"),
              "t.asm:1: hasparent is set but no parent is given");
    EXPECT_EQ(asmError(".identity 123\n"),
              "t.asm:1: .identity takes 'auto' or an even number of hex digits");
    EXPECT_EQ(asmError("NATIVE Strings, 1\n"), "t.asm:1: unknown native group 'Strings'");
    EXPECT_EQ(asmError("NATIVE String.chatAt\n"),
              "t.asm:1: unknown operation 'chatAt' of native group String");

    // A 16-bit branch that cannot reach its label.
    std::string far = "JZ16 away\n";
    for (int i = 0; i < 40000; ++i)
        far += "NOP\n";
    far += "away:\n";
    EXPECT_EQ(asmError(far), "t.asm:1: branch distance 40001 is out of range (-32768..32767)");
}

TEST(Assembler, MacrosExpandInPlaceWithLabelsOfTheirOwn)
{
    const std::string macros = ".macro twice op, n\n"
                               "\\op \\n\n"
                               "\\op \\n\n"
                               ".endm\n"
                               ".macro loop count\n"
                               "    PUSH32 \\count\n"
                               "top\\@: DEC8\n"
                               "    JZ16 top\\@\n"
                               ".endm\n"
                               ".macro log text ; a comment: \\nothing is replaced here\n"
                               "    PUSHSTR \\text\n"
                               "    PUSHSTR \"\\n\" ; an escape, not the parameter\n"
                               ".endm\n";
    EXPECT_EQ(asmBytes(macros + "start: twice FRAME8, -1\nloop 3\nloop 4\nlog \"a, b\"\n"),
              asmBytes("start: FRAME8 -1\nFRAME8 -1\nPUSH32 3\ntop1: DEC8\nJZ16 top1\n"
                       "PUSH32 4\ntop2: DEC8\nJZ16 top2\nPUSHSTR \"a, b\"\nPUSHSTR \"\\n\"\n"));

    EXPECT_EQ(asmError(macros + "twice NOP\n"), "t.asm:14: macro 'twice' takes 2 arguments, not 1");
    EXPECT_EQ(asmError(".macro m\n\\x\n.endm\nm\n"), "t.asm:2: unknown macro parameter '\\x'");
    EXPECT_EQ(asmError(".macro m\nFROB\n.endm\nNOP\nm\n"),
              "t.asm:2 (in m used at t.asm:5): unknown instruction 'FROB'");
    EXPECT_NE(asmError(".macro m\nm\n.endm\nm\n").find("macros nested deeper than 32"),
              std::string::npos);
    EXPECT_EQ(asmError("NOP\n.macro m\nNOP\n"),
              "t.asm:2: macro 'm' has no .endm before the end of t.asm");
    EXPECT_EQ(asmError(".endm\n"), "t.asm:1: .endm without .macro");
    EXPECT_EQ(asmError(".macro NOP\n.endm\n"),
              "t.asm:1: macro 'NOP' has the name of an instruction");
    EXPECT_EQ(asmError(".macro m\n.endm\n.macro m\n.endm\n"), "t.asm:3: macro 'm' defined twice");
    EXPECT_EQ(asmError(".macro m\n.macro n\n.endm\n"),
              "t.asm:2: a .macro inside the definition of 'm'");
}

TEST(Assembler, ConstantsReplaceWholeWordsOutsideStringsAndComments)
{
    // A constant built on another, used in a directive, an operand, a macro argument; the same
    // word inside a string, a comment, a dotted name and a longer word stays as written.
    const std::string source = ".equ N 3\n.equ M N\n.equ log 9\n.globals M\n"
                               ".macro push v\nPUSH32 \\v\n.endm\n"
                               "N_1: PUSH32 N ; N\npush M\nPUSHSTR \"N\"\nNATIVE Debug.log\n"
                               "JMP16 N_1\n";
    EXPECT_EQ(asmBytes(source), asmBytes(".globals 3\nN_1: PUSH32 3\nPUSH32 3\nPUSHSTR \"N\"\n"
                                         "NATIVE Debug.log\nJMP16 N_1\n"));
    EXPECT_EQ(asmError(".equ N 1\n.equ N 2\n"), "t.asm:2: constant 'N' defined twice");
    EXPECT_EQ(asmError(".equ dup 1\n"), "t.asm:1: constant 'dup' has the name of an instruction");
    EXPECT_EQ(asmError(".equ N\n"), "t.asm:1: .equ N needs one value (a number or a name)");
    EXPECT_EQ(asmError(".equ N 1 2\n"), "t.asm:1: .equ N needs one value (a number or a name)");
}

TEST(Assembler, IncludesReadFilesBesideTheIncludingFile)
{
    QTemporaryDir temporary;
    const std::filesystem::path dir = temporary.path().toStdString();
    std::filesystem::create_directories(dir / "sub");
    auto write = [&](const char* name, const char* text) {
        zelmo::testing::putFile(temporary.filePath(name), text);
    };
    write("main.asm", "NOP\n.include \"sub/a.inc\"\nused 5\n");
    write("sub/a.inc", ".macro used n\nPUSH32 \\n\n.endm\n.include \"b.inc\"\n");
    write("sub/b.inc", "FRAME8 -1\n");
    const std::string main = (dir / "main.asm").string();
    EXPECT_EQ(assembleToBytes("NOP\n.include \"sub/a.inc\"\nused 5\n", main),
              asmBytes("NOP\nFRAME8 -1\nPUSH32 5\n"));

    auto errorOf = [&](const std::string& source) { return asmError(source, main); };
    write("sub/b.inc", "FROB\n");
    EXPECT_EQ(errorOf(".include \"sub/b.inc\"\n"),
              (dir / "sub/b.inc").string() + ":1: unknown instruction 'FROB'");
    EXPECT_EQ(errorOf("\n.include \"none.inc\"\n"),
              main + ":2: cannot open included file '" + (dir / "none.inc").string() + "'");
    write("sub/b.inc", ".include \"a.inc\"\n");
    EXPECT_EQ(errorOf(".include \"sub/a.inc\"\n"), (dir / "sub/b.inc").string() + ":1: '" +
                                                       (dir / "sub/a.inc").string() +
                                                       "' includes itself (an include cycle)");
    EXPECT_EQ(errorOf(".include sub\n"), main + ":1: .include takes one file name in quotes");
}

TEST(AssemblerRoundTrip, SourceFilesOfTestsAndExamples)
{
    const char* data = std::getenv("ZELMO_TEST_DATA");
    ASSERT_NE(data, nullptr) << "ZELMO_TEST_DATA is not set";
    const std::filesystem::path tests(data);
    int files = 0;
    for (const auto& root : {tests / "images", tests / ".." / "examples"}) {
        std::error_code ec;
        if (!std::filesystem::is_directory(root, ec)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".asm") continue;
            ++files;
            std::vector<uint8_t> bytes;
            try {
                const QString path = QString::fromStdString(entry.path().string());
                bytes = assembleToBytes(zelmo::testing::fileBytes(path).toStdString(),
                                        entry.path().string());
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
                continue;
            }
            expectRoundTrip(bytes, entry.path().string());
        }
    }
    // Finding nothing means the search is broken, not that every file round-trips.
    EXPECT_GT(files, 10);
}
