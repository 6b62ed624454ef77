// SPDX-License-Identifier: MIT
// The image loader (VirtualMachine::readBytecode) on images made with the assembler: refusals
// and where they point, counts that cannot fit, the relocation of every operand kind and table
// entry of a second image, and the string pool.
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/Opcodes.h"
#include "VirtualMachine/VirtualMachine.h"
#include "image/Assembler.h"

#include <gtest/gtest.h>

using namespace zelmo;

namespace {

const char* const kIdentityA = ".identity 0101010101010101010101010101010101010101\n";
const char* const kIdentityB = ".identity 0202020202020202020202020202020202020202\n";

std::vector<uint8_t> assembled(const std::string& source)
{
    return image::assembleToBytes(source, "test.asm");
}

// 1 or 0 as readBytecode returns; -1 when it raised a managed error.
int load(VirtualMachine& vm, const std::vector<uint8_t>& bytes, int32_t& index,
         const std::u16string& name = u"index.mcb")
{
    TARNEL::MemoryInputStream stream(bytes);
    try {
        return vm.readBytecode(name, stream, index);
    } catch (const ErrorHandlingException&) {
        return -1;
    }
}

int load(VirtualMachine& vm, const std::vector<uint8_t>& bytes)
{
    int32_t index = -1;
    return load(vm, bytes, index);
}

int32_t word(const VirtualMachine& vm, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t{vm.code.at(at + i)} << (8 * i);
    return static_cast<int32_t>(v);
}

const ExportedMethod* method(const VirtualMachine& vm, const std::u16string& name)
{
    for (const ExportedMethod& m : vm.methods)
        if (m.name == name) return &m;
    return nullptr;
}

} // namespace

TEST(ImageLoader, ARefusedImageSaysWhyAndWhere)
{
    auto reasonFor = [](const std::vector<uint8_t>& bytes) {
        VirtualMachine vm;
        TARNEL::MemoryInputStream stream(bytes);
        int32_t index = -1;
        std::string reason;
        EXPECT_EQ(vm.readBytecode(u"index.mcb", stream, index, &reason), 0);
        return reason;
    };
    EXPECT_EQ(reasonFor({}), "the image ends early at byte 0");
    EXPECT_EQ(reasonFor({20, 1, 2, 3}), "the image ends early at byte 1");
    EXPECT_EQ(reasonFor(assembled(".identity 00112233445566778899aabbccddeeff001122\n")),
              "identity length is 19, not 20 at byte 1");
    EXPECT_EQ(reasonFor(assembled(".marker 255 254\n")), "marker byte is 254, not 255 at byte 23");
    // The last instruction loses its final operand byte.
    std::vector<uint8_t> cut = assembled("NOP\nPUSH32 7\n");
    cut.pop_back();
    EXPECT_EQ(reasonFor(cut),
              "the image ends inside an instruction at byte " + std::to_string(cut.size() - 4));
    // With one selector, 0 is the only number a CALLV of this image may name.
    for (const auto& [source, number] : {std::pair{"CALLV 0\n", 0},
                                         {".selector \"s\"\nCALLV 1\n", 1},
                                         {".selector \"s\"\nCALLV -1\n", -1}}) {
        const std::vector<uint8_t> bytes = assembled(source);
        EXPECT_EQ(reasonFor(bytes), "selector " + std::to_string(number) +
                                        " is not in the image at byte " +
                                        std::to_string(bytes.size() - 5));
    }
    VirtualMachine vm;
    EXPECT_EQ(load(vm, assembled(".selector \"s\"\nCALLV 0\n")), 1);
}

TEST(ImageLoader, RelocatesEveryOperandKind)
{
    // The first image occupies the bases: 6 code bytes, 2 classes, 2 method infos, 3 strings.
    const std::vector<uint8_t> first = assembled(std::string(kIdentityA) + R"(
.frame f0
.frame f1
.class A
.class B parent=A
.string "a0"
.string "a1"
.string "a2"
.selector "<x>.run"
.impl B 0 info=f0
PUSH32 7
NOP
)");
    const std::vector<uint8_t> second = assembled(std::string(kIdentityB) + R"(
.frame g0 params=1
.frame g1 slots=2,1,0
.function "f" target info=g1
.class C
.class D parent=C
.selector "<x>.run"
.impl D target info=g0
.string "b0"
.string "b1"
start:
    CALL target, g0             ; 0
    CALL target, none           ; 9
    CALLV "<x>.run"             ; 18
    PUSHSTR "b1"                ; 23
    SETCLASS 9                  ; 28
    TRY D, handler              ; 33
    TRY -1, handler             ; 42
    TRY -7, handler             ; 51
    JZ16 start                  ; 60
    PUSH32 -5                   ; 63
handler:
    NOP                         ; 68
target:
    RET 0, 0                    ; 69
)");
    VirtualMachine vm;
    ASSERT_EQ(load(vm, first), 1);
    ASSERT_EQ(vm.codeSize, 6);
    ASSERT_EQ(vm.maxClassId, 2);
    int32_t index = -1;
    ASSERT_EQ(load(vm, second, index), 1);
    ASSERT_EQ(index, 1);
    const int32_t codeBase = 6, classBase = 3, infoBase = 2, stringBase = 3;
    EXPECT_EQ(vm.modules[1].codeBase, codeBase);
    EXPECT_EQ(vm.modules[1].codeSize, 78);
    EXPECT_EQ(vm.codeSize, codeBase + 78);

    // Tables.
    const ExportedMethod* f = method(vm, u"f");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->moduleIndex, 1);
    EXPECT_EQ(f->sharedSelector, 0);
    EXPECT_EQ(f->handleIndex, -1);
    ASSERT_EQ(f->entries.size(), 1u);
    EXPECT_EQ(f->entries[0].classId, -1);
    EXPECT_EQ(f->entries[0].codeAddress, codeBase + 69);
    EXPECT_EQ(f->entries[0].gcInfoIndex, infoBase + 1);
    const ExportedMethod* run = method(vm, u"<x>.run");
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->entries.size(), 2u);
    EXPECT_EQ(run->entries[1].classId, classBase + 1);
    EXPECT_EQ(run->entries[1].codeAddress, codeBase + 69);
    EXPECT_EQ(run->entries[1].gcInfoIndex, infoBase + 0);
    EXPECT_EQ(vm.superClass.at(classBase), -1);
    EXPECT_EQ(vm.superClass.at(classBase + 1), classBase);
    EXPECT_EQ(vm.gcInfos.at(infoBase).slotCount1, 1);
    EXPECT_EQ(vm.gcInfos.at(infoBase + 1).slotCount2, 1);
    EXPECT_EQ(vm.stringPool.at(stringBase + 1).toU16(), u"b1");

    // Code operands.
    const size_t at = codeBase;
    EXPECT_EQ(word(vm, at + 1), codeBase + 69); // CALL address
    EXPECT_EQ(word(vm, at + 5), infoBase + 0);  // CALL method info (0 is relocated too)
    EXPECT_EQ(word(vm, at + 10), codeBase + 69);
    EXPECT_EQ(word(vm, at + 14), -1); // no method info stays -1
    const int32_t runIndex = int32_t(run - vm.methods.data());
    EXPECT_EQ(word(vm, at + 19), runIndex);       // CALLV through the selector map
    EXPECT_EQ(word(vm, at + 24), stringBase + 1); // PUSHSTR
    EXPECT_EQ(word(vm, at + 29), classBase + 9);  // SETCLASS ...
    EXPECT_GE(vm.maxClassId, classBase + 9);      // ... raises maxClassId
    EXPECT_EQ(word(vm, at + 34), classBase + 1);  // TRY class
    // The handler distance is relative to the TRY and must not move with the code base.
    EXPECT_EQ(word(vm, at + 38), 68 - (33 + 9));
    EXPECT_EQ(word(vm, at + 43), -1); // catch-all stays negative
    EXPECT_EQ(word(vm, at + 47), 68 - (42 + 9));
    EXPECT_EQ(word(vm, at + 52), -7);
    EXPECT_EQ(int16_t(vm.code.at(at + 61) | vm.code.at(at + 62) << 8), -62); // JZ16 as is
    EXPECT_EQ(word(vm, at + 64), -5);
    // Bytes of the first image are untouched.
    EXPECT_EQ(vm.code.at(0), uint8_t(Op::PUSH32));
    EXPECT_EQ(word(vm, 1), 7);

    // A third image starts its classes above the id SETCLASS raised; the rows between exist
    // but were never filled.
    ASSERT_EQ(load(vm, assembled(".identity 0303030303030303030303030303030303030303\n"
                                 ".class E\n.class F parent=E\nSETCLASS F\n")),
              1);
    const int32_t thirdBase = classBase + 9 + 1;
    EXPECT_EQ(vm.maxClassId, thirdBase + 1);
    EXPECT_EQ(vm.superClass.at(thirdBase + 1), thirdBase);
    EXPECT_EQ(vm.superClass.at(classBase + 5), -2);
    EXPECT_EQ(word(vm, size_t(vm.modules[2].codeBase) + 1), thirdBase + 1);
}

TEST(ImageLoader, CountsThatCannotFitAreRejectedBeforeAllocating)
{
    // One image with one entry in every list; each count is then made huge in turn. The
    // values are chosen so that the bytes 01 00 00 00 occur only where a count is.
    const std::string source = std::string(kIdentityA) + R"(
.function "f" 0 info=f
.selector "s"
.impl 2 3 info=0
.class A refs=2 arrays=2 skip=3
.frame f refs=1 arrays=2 exact=3 inline=4
.string "s"
NOP
)";
    const std::vector<uint8_t> good = assembled(source);
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, good), 1);
    }
    // A count is a little-endian i32 whose value is 1 here; try every such position.
    int tried = 0;
    for (size_t at = 32; at + 4 <= good.size(); ++at) {
        if (!(good[at] == 1 && good[at + 1] == 0 && good[at + 2] == 0 && good[at + 3] == 0))
            continue;
        for (uint32_t huge : {0x7FFFFFFFu, 0x10000000u, 0x01000000u, 0x100u}) {
            std::vector<uint8_t> bad = good;
            for (int k = 0; k < 4; ++k)
                bad[at + k] = uint8_t(huge >> (8 * k));
            VirtualMachine vm;
            EXPECT_NE(load(vm, bad), 1) << "count at " << at;
            EXPECT_LE(vm.methods.size(), 2u);
            EXPECT_LE(vm.stringPool.size(), 1u);
            EXPECT_LE(vm.gcInfos.size(), 1u);
            for (const auto& row : vm.classRefFields)
                EXPECT_LE(row.size(), 1u);
            EXPECT_LE(vm.methods.empty() ? 0 : vm.methods[0].name.size(), 1u);
        }
        ++tried;
    }
    EXPECT_GE(tried, 10); // the lists above, name lengths and the one-byte counts' neighbours
}

TEST(ImageLoader, StringPoolIsDecodedFromUtf8)
{
    VirtualMachine vm;
    ASSERT_EQ(load(vm, assembled(R"(
.string "a\u{1F600}b"
.string "x\xffy"
.string "\u{e9}\u{20ac}"
.string "cut\xc3"
.function "\xe9t\xe9" 0
NOP
)")),
              1);
    ASSERT_EQ(vm.stringPool.size(), 4u);
    EXPECT_EQ(vm.stringPool[0].toU16(), u"a\xD83D\xDE00"
                                        u"b");
    EXPECT_EQ(vm.stringPool[1].toU16(), u"x\xFFFDy");
    EXPECT_EQ(vm.stringPool[2].toU16(), u"\u00e9\u20ac");
    EXPECT_EQ(vm.stringPool[3].toU16(), u"cut\xFFFD");
    // Names are not UTF-8: each byte becomes one character.
    EXPECT_EQ(vm.methods.at(0).name, u"\u00e9t\u00e9");
}
