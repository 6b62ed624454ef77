// SPDX-License-Identifier: MIT
// The assembler's directives, labels, widths and error lines, and the round trip
// assemble -> disassemble -> assemble over sources, files on disk and random images.
#include "image/Assembler.h"
#include "VirtualMachine/Opcodes.h"
#include "image/Disassembler.h"
#include "image/ImageReader.h"
#include "image/ImageWriter.h"
#include "image/Names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

using namespace zelmo;
using namespace zelmo::image;

namespace {

std::vector<uint8_t> asmBytes(const std::string& source)
{
    return assembleToBytes(source, "t.asm");
}

std::string asmError(const std::string& source)
{
    try {
        assembleToBytes(source, "t.asm");
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

TEST(Assembler, LabelsAndBranchDistances)
{
    const std::vector<uint8_t> code = codeOf(R"(
top:  NOP                 ; 0
      JZ16 top            ; 1: 0 - (1 + 2) = -3
      JMP32 end           ; 4: 30 - (4 + 4) = 22
      CALL top+1, 0       ; 9: address 1
      TRY -1, end         ; 18: 30 - (18 + 9) = 3
      JMP16 5             ; 27: a raw distance
end:
.frame f
)");
    ASSERT_EQ(code.size(), 30u);
    EXPECT_EQ(int16_t(code[2] | code[3] << 8), -3);
    EXPECT_EQ(code[4], 13);
    EXPECT_EQ(int32_t(code[5] | code[6] << 8 | code[7] << 16 | code[8] << 24), 30 - 8);
    EXPECT_EQ(code[9], 14);
    EXPECT_EQ(code[10], 1);
    EXPECT_EQ(code[18], 117);
    EXPECT_EQ(int32_t(code[19] | code[20] << 8 | code[21] << 16 | code[22] << 24), -1);
    EXPECT_EQ(int32_t(code[23] | code[24] << 8 | code[25] << 16 | code[26] << 24), 30 - 27);
    EXPECT_EQ(code[28], 5);

    // A label may sit after the last instruction and be used before it is defined.
    EXPECT_EQ(codeOf("JMP16 e\nNOP\ne:\n"), (std::vector<uint8_t>{12, 2, 0, 0}));
}

TEST(Assembler, OperandNamesAndSymbols)
{
    const std::vector<uint8_t> code = codeOf(R"(
.class A
.class B parent=A
.selector "x"
.selector @draw
.string s0 "zero"
    NATIVE String, 3
    NATIVE 200, 255
    EXTCALL OpenGL, -1
    NEW REFERENCE, 1
    NEWOBJ CLASS_OBJECT, 4, -2
    SETCLASS B
    CALLV @draw
    CALLV "x"
    PUSHSTR s0
    PUSHSTR "new"
    PUSHSTR "zero"
    PUSH64 -2
    PUSH64 1, 2
)");
    const std::vector<uint8_t> expected = {
        78,   8,    3,    78,   200,  255,  97,   38, 0xFF, 17, 14, 1,  0, 0, 0,  146, 1,  4,
        0,    0,    0,    0xFE, 22,   1,    0,    0,  0,    15, 1,  0,  0, 0, 15, 0,   0,  0,
        0,    21,   0,    0,    0,    0,    21,   1,  0,    0,  0,  21, 0, 0, 0,  0,   65, 0xFE,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 65, 1,    0,  0,  0,  2, 0, 0,  0};
    EXPECT_EQ(code, expected);
    // Operations by name, negative operation numbers included.
    EXPECT_EQ(
        codeOf("NATIVE String.charAt\nNATIVE String.toUpperCase\nNATIVE RefArray.elementAddress\n"
               "NATIVE Float.fromFixed\n"),
        (std::vector<uint8_t>{78, 8, 12, 78, 8, 0x80, 78, 7, 7, 78, 36, 0}));

    // PUSHSTR with a new text appends it after the declared strings, once.
    const Image image = readImage(asmBytes(".string \"a\"\nPUSHSTR \"b\"\nPUSHSTR \"b\"\n"));
    ASSERT_EQ(image.strings.items.size(), 2u);
    EXPECT_EQ(image.strings.items[1].bytes, "b");
}

TEST(Assembler, SignatureNamesSpellDepthsAsStars)
{
    const Image image = readImage(asmBytes(R"(
.function @keypressed 0
.function @keypressed(2,0) 0
.function "(int)x<a>,<b>"(1,2,3) 0
.function "<a>.b<c>"(1) 0
.function "plain*" 0
.function @init 0
.function @internalthrow 0
)"));
    const auto& f = image.functions.items;
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[0].name.bytes, "<*application>.key pressed<keyevent>");
    EXPECT_EQ(f[1].name.bytes, "<**application>.key pressed<keyevent>");
    EXPECT_EQ(f[2].name.bytes, "(*int)x<**a>,<***b>");
    EXPECT_EQ(f[3].name.bytes, "<*a>.b<c>");
    EXPECT_EQ(f[4].name.bytes, "plain*");
    EXPECT_EQ(f[5].name.bytes, "::global::init");
    EXPECT_EQ(f[6].name.bytes, "vminternalthrow<int>,<*string>");
    // No info= given: all share one empty frame appended after the declared ones.
    ASSERT_EQ(image.methodInfos.items.size(), 1u);
    EXPECT_EQ(f[0].gcInfoIndex, 0u);
    EXPECT_EQ(fixedSignatures().size(), 18u); // the 17 registered at start-up plus draw gl
}

TEST(Assembler, WidthsAreChosenAndOverridden)
{
    auto widths = [](const std::string& source) { return readImage(asmBytes(source)).widths; };
    // Smallest widths by default.
    auto w = widths(".function \"f\" 300 info=70000\n.frame a slots=255,256,65536\n");
    EXPECT_EQ(w[kCodeAddressWidth], 2);
    EXPECT_EQ(w[kGcInfoIndexWidth], 4);
    EXPECT_EQ(w[kSlotCount1Width], 1);
    EXPECT_EQ(w[kSlotCount2Width], 2);
    EXPECT_EQ(w[kSlotCount3Width], 4);
    EXPECT_EQ(w[kClassIdWidth], 1);
    // -1 needs four bytes.
    EXPECT_EQ(widths(".function \"f\" 0 info=none\n")[kGcInfoIndexWidth], 4);
    // Explicit widths win even when a smaller one would do.
    w = widths(".widths code=4 entrycount=2\n.function \"f\" 1 info=0\n.frame a\n");
    EXPECT_EQ(w[kCodeAddressWidth], 4);
    EXPECT_EQ(w[kEntryCountWidth], 2);
    const std::vector<uint8_t> bytes = asmBytes(".widths code=4\n.function \"f\" 1 info=0\n");
    const std::vector<uint8_t> address(bytes.begin() + 41, bytes.begin() + 45);
    EXPECT_EQ(address, (std::vector<uint8_t>{1, 0, 0, 0}));
    // Record offset widths.
    const Image image = readImage(asmBytes(".class A refs=1,300\n.class B refs=1 width=4\n"));
    EXPECT_EQ(image.classes.items[0].width, 2);
    EXPECT_EQ(image.classes.items[1].width, 4);

    // A value that does not fit an explicit width is reported at its own line.
    EXPECT_EQ(asmError(".widths code=1\n\n.function \"f\" 256\n"),
              "t.asm:3: code address 256 does not fit the 1-byte 'code' width");
    EXPECT_EQ(asmError(".widths code=3\n"), "t.asm:1: width must be 1, 2 or 4");
    EXPECT_EQ(asmError(".class A refs=300 width=1\n"), "t.asm:1: offset 300 does not fit width 1");
}

TEST(Assembler, ErrorsNameTheLine)
{
    EXPECT_EQ(asmError("NOP\nFROB 1\n"), "t.asm:2: unknown instruction 'FROB'");
    EXPECT_EQ(asmError("\n\nJMP16 nowhere\n"), "t.asm:3: unknown label 'nowhere'");
    EXPECT_EQ(asmError("a: NOP\na: NOP\n"), "t.asm:2: label 'a' defined twice");
    EXPECT_EQ(asmError("FRAME8 300\n"), "t.asm:1: operand 300 is out of range (-128..255)");
    EXPECT_EQ(asmError("PUSH32 4294967296\n"),
              "t.asm:1: operand 4294967296 is out of range (-2147483648..4294967295)");
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
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zelmo-include-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "sub");
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    };
    write("main.asm", "NOP\n.include \"sub/a.inc\"\nused 5\n");
    write("sub/a.inc", ".macro used n\nPUSH32 \\n\n.endm\n.include \"b.inc\"\n");
    write("sub/b.inc", "FRAME8 -1\n");
    const std::string main = (dir / "main.asm").string();
    EXPECT_EQ(assembleToBytes("NOP\n.include \"sub/a.inc\"\nused 5\n", main),
              asmBytes("NOP\nFRAME8 -1\nPUSH32 5\n"));

    auto errorOf = [&](const std::string& source) {
        try {
            assembleToBytes(source, main);
        } catch (const AssemblyError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    write("sub/b.inc", "FROB\n");
    EXPECT_EQ(errorOf(".include \"sub/b.inc\"\n"),
              (dir / "sub/b.inc").string() + ":1: unknown instruction 'FROB'");
    EXPECT_EQ(errorOf("\n.include \"none.inc\"\n"),
              main + ":2: cannot open included file '" + (dir / "none.inc").string() + "'");
    write("sub/b.inc", ".include \"a.inc\"\n");
    EXPECT_EQ(errorOf(".include \"sub/a.inc\"\n"), (dir / "sub/b.inc").string() + ":1: '" +
                                                       (dir / "sub/a.inc").string() +
                                                       "' includes itself (an include cycle)");
    EXPECT_EQ(errorOf(".include \"main.asm\"\n"),
              main + ":1: '" + main + "' includes itself (an include cycle)");
    EXPECT_EQ(errorOf(".include sub\n"), main + ":1: .include takes one file name in quotes");
    std::filesystem::remove_all(dir);
}

TEST(Assembler, IdentityIsDerivedFromTheContent)
{
    const std::vector<uint8_t> a = asmBytes("; one\nPUSH32 1\n");
    const std::vector<uint8_t> b = asmBytes("PUSH32 1 ; same image, other text\n");
    const std::vector<uint8_t> c = asmBytes("PUSH32 2\n");
    ASSERT_EQ(a[0], 20);
    EXPECT_EQ(a, b);
    EXPECT_NE(std::vector<uint8_t>(a.begin(), a.begin() + 21),
              std::vector<uint8_t>(c.begin(), c.begin() + 21));
    const auto id = deriveIdentity(std::vector<uint8_t>(a.begin() + 21, a.end()));
    EXPECT_TRUE(std::equal(id.begin(), id.end(), a.begin() + 1));
}

TEST(Assembler, NegativeCountsAndOddEncodingsSurvive)
{
    const std::string source = R"(
.identity 0000000000000000000000000000000000000000
.widths entrycount=4 skipcount=4 hassuper=2
.count functions -1
.selector empty(-7) count=-2
.class A hasparent=513 parent=9 refs=empty(-3) arrays=empty(-4) skip=empty(-5)
.frame f refs=empty(-1) arrays=empty(-1) exact=empty(-1) inline=empty(-1) width=4
.string empty(-9)
.string "\xff\xc3(\u{1F600}\0"
    PUSHSTR ""
    JZ16 1      ; into the middle of the next instruction
    CALL 1000, 4294967295
    .byte 56, 200
    TRY 7, -100
    .byte 14, 1, 2
)";
    const std::vector<uint8_t> bytes = asmBytes(source);
    const Image image = readImage(bytes);
    EXPECT_EQ(image.functions.emptyCount, 0xFFFFFFFFu);
    ASSERT_EQ(image.selectors.items.size(), 1u);
    EXPECT_EQ(image.selectors.items[0].emptyCount, uint32_t(-2));
    EXPECT_EQ(image.selectors.items[0].name.emptyCount, uint32_t(-7));
    EXPECT_EQ(image.classes.items[0].hasParent, 513u);
    EXPECT_EQ(image.classes.items[0].discardedIds.emptyCount, uint32_t(-5));
    EXPECT_EQ(image.strings.items[1].bytes, "\xff\xc3(\xf0\x9f\x98\x80" + std::string(1, '\0'));
    expectRoundTrip(bytes, "odd");
}

TEST(Assembler, ReaderRejectsWhatTheLoaderRejects)
{
    const std::vector<uint8_t> good = asmBytes(".class A arrays=1*\n.frame f arrays=2*\nNOP\n");
    ASSERT_NO_THROW(readImage(good));
    auto rejects = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> bad = good;
        bad[at] = value;
        EXPECT_THROW(readImage(bad), ImageError) << at << " " << int(value);
    };
    rejects(0, 19); // identity length
    rejects(21, 0); // marker
    rejects(23, 3); // a width of 3
    rejects(23, 0);
    // The flag byte of the class's array field (after the class width and empty refs list).
    const size_t classes = 21 + 2 + 9 + 4 + 4 + 4;
    ASSERT_EQ(good[classes], 1u); // one class
    EXPECT_EQ(good[classes + 4 + 1 + 4 + 4], 0xFF);
    rejects(classes + 4 + 1 + 4 + 4, 1);
    rejects(classes + 4, 3); // the class's offset width
    // Counts that cannot fit in what remains are refused before anything is allocated.
    std::vector<uint8_t> huge = good;
    huge[21 + 2 + 9 + 3] = 0x7F; // function count 0x7F000000
    EXPECT_THROW(readImage(huge), ImageError);
    // Every prefix either reads (the code is the open end) or fails cleanly.
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> prefix(good.begin(), good.begin() + std::ptrdiff_t(n));
        try {
            const Image image = readImage(prefix);
            EXPECT_EQ(writeImage(image), prefix);
        } catch (const ImageError&) {
        }
    }
}

namespace {

// Random images that use every feature of the model within their chosen widths.
class RandomImage {
public:
    explicit RandomImage(uint32_t seed) : m_rng(seed) {}

    Image make()
    {
        Image im;
        for (int i = 0; i < 20; ++i)
            im.identity.push_back(uint8_t(pick(256)));
        static const int kWidths[] = {1, 2, 4};
        for (auto& w : im.widths)
            w = uint8_t(kWidths[pick(3)]);
        im.globalWords = int32_t(m_rng());
        const int functions = pick(5);
        for (int i = 0; i < functions; ++i)
            im.functions.items.push_back(
                {name(), value(im.widths[kCodeAddressWidth]), value(im.widths[kGcInfoIndexWidth])});
        if (functions == 0 && pick(2)) im.functions.emptyCount = negative();
        for (int i = pick(4); i > 0; --i) {
            Selector s;
            s.name = name();
            for (int k = pick(4); k > 0; --k)
                s.implementations.push_back({value(im.widths[kClassIdWidth]),
                                             value(im.widths[kCodeAddressWidth]),
                                             value(im.widths[kGcInfoIndexWidth])});
            if (s.implementations.empty() && im.widths[kEntryCountWidth] == 4 && pick(2))
                s.emptyCount = negative();
            im.selectors.items.push_back(s);
        }
        for (int i = pick(5); i > 0; --i) {
            ClassRecord c;
            c.width = uint8_t(kWidths[pick(3)]);
            c.referenceFields = offsets(c.width);
            c.arrayFields = flagged(c.width);
            c.hasParent = pick(3) == 0 ? 0 : pick(2) ? 1 : value(im.widths[kHasSuperWidth]);
            if (c.hasParent) c.parent = value(im.widths[kClassIdWidth]);
            for (int k = pick(3); k > 0; --k)
                c.discardedIds.values.push_back(value(im.widths[kClassIdWidth]));
            if (c.discardedIds.values.empty() && im.widths[kSkipListCountWidth] == 4 && pick(2))
                c.discardedIds.emptyCount = negative();
            im.classes.items.push_back(c);
        }
        for (int i = pick(5); i > 0; --i) {
            MethodInfo m;
            m.width = uint8_t(kWidths[pick(3)]);
            m.slotCount1 = value(im.widths[kSlotCount1Width]);
            m.conservativeReferenceSlots = offsets(m.width);
            m.arrayPointerSlots = flagged(m.width);
            m.slotCount2 = value(im.widths[kSlotCount2Width]);
            m.slotCount3 = value(im.widths[kSlotCount3Width]);
            m.exactReferenceSlots = offsets(m.width);
            m.inlineArraySlots = flagged(m.width);
            im.methodInfos.items.push_back(m);
        }
        for (int i = pick(6); i > 0; --i)
            im.strings.items.push_back(pick(4) == 0 && !im.strings.items.empty()
                                           ? im.strings.items[pick(int(im.strings.items.size()))]
                                           : name());
        code(im);
        return im;
    }

private:
    int pick(int n) { return int(m_rng() % uint32_t(n)); }
    uint32_t negative() { return 0x80000000u | m_rng(); }

    uint32_t value(int width)
    {
        switch (pick(4)) {
        case 0:
            return 0;
        case 1:
            return uint32_t(pick(8));
        default:
            return width == 4 ? m_rng() : m_rng() & ((1u << (8 * width)) - 1);
        }
    }

    ByteString name()
    {
        ByteString s;
        switch (pick(6)) {
        case 0: {
            const auto& fixed = fixedSignatures()[pick(int(fixedSignatures().size()))];
            std::vector<int> depths;
            for (size_t k = 0; k < fixed.defaultDepths.size(); ++k)
                depths.push_back(pick(2) ? fixed.defaultDepths[k] : pick(4));
            s.bytes = applyDepths(fixed.signature, depths);
            break;
        }
        case 1:
            if (pick(2)) s.emptyCount = negative();
            break;
        case 2:
            s.bytes = "h\xc3\xa9llo \xe2\x82\xac \xf0\x9f\x98\x80 \"q\" \\ ;";
            break;
        default:
            for (int k = pick(12); k > 0; --k)
                s.bytes += char(pick(256));
        }
        return s;
    }

    OffsetList offsets(int width)
    {
        OffsetList list;
        for (int k = pick(4); k > 0; --k)
            list.values.push_back(value(width));
        if (list.values.empty() && pick(3) == 0) list.emptyCount = negative();
        return list;
    }

    FlaggedList flagged(int width)
    {
        FlaggedList list;
        for (int k = pick(3); k > 0; --k)
            list.values.push_back({uint8_t(pick(2) ? 0xFF : 0), value(width)});
        if (list.values.empty() && pick(3) == 0) list.emptyCount = negative();
        return list;
    }

    void code(Image& im)
    {
        std::vector<size_t> starts;
        const int count = pick(60);
        for (int i = 0; i < count; ++i) {
            starts.push_back(im.code.size());
            const int op = pick(5) == 0 ? pick(256) : validOpcode();
            im.code.push_back(uint8_t(op));
            for (int k = operandBytes(kOpInfo[op].operands); k > 0; --k)
                im.code.push_back(uint8_t(pick(256)));
        }
        // Aim some branches, calls and handlers at instruction starts or into instructions.
        for (size_t at : starts) {
            const OpInfo& info = kOpInfo[im.code[at]];
            if (!info.valid() || pick(3) == 0 || im.code.empty()) continue;
            const int64_t target = pick(4) == 0 ? int64_t(pick(int(im.code.size()) + 1))
                                                : int64_t(starts[pick(int(starts.size()))]);
            auto put32 = [&](size_t pos, int64_t v) {
                for (int k = 0; k < 4; ++k)
                    im.code[pos + k] = uint8_t(v >> (8 * k));
            };
            const int64_t op = int64_t(at);
            switch (info.operands) {
            case Operands::Branch16:
                im.code[at + 1] = uint8_t(target - op - 2);
                im.code[at + 2] = uint8_t((target - op - 2) >> 8);
                break;
            case Operands::Branch32:
                put32(at + 1, target - op - 4);
                break;
            case Operands::Call:
                put32(at + 1, target);
                break;
            case Operands::Try:
                put32(at + 5, target - op - 9);
                break;
            case Operands::I32:
                if (info.reloc != Reloc::None)
                    put32(at + 1, pick(3)); // small selector/string/class numbers
                break;
            default:
                break;
            }
        }
        // Sometimes a partial instruction at the end.
        if (pick(4) == 0) {
            im.code.push_back(uint8_t(Op::CALL));
            for (int k = pick(8); k > 0; --k)
                im.code.push_back(uint8_t(pick(256)));
        }
    }

    int validOpcode()
    {
        while (true) {
            const int op = pick(256);
            if (kOpInfo[op].valid()) return op;
        }
    }

    std::mt19937 m_rng;
};

std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(AssemblerRoundTrip, RandomImages)
{
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        const Image image = RandomImage(seed).make();
        std::vector<uint8_t> bytes;
        ASSERT_NO_THROW(bytes = writeImage(image)) << seed;
        expectRoundTrip(bytes, "random image " + std::to_string(seed));
        if (HasFailure()) return;
    }
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
            // Images that are malformed on purpose cannot be listed.
            if (entry.path().parent_path().filename() == "malformed") continue;
            ++files;
            std::vector<uint8_t> bytes;
            try {
                bytes = assembleToBytes(readText(entry.path()), entry.path().string());
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
