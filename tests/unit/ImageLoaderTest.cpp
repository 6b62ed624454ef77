// SPDX-License-Identifier: MIT
// The image loader (VirtualMachine::readBytecode) on images made with the assembler: structural
// checks, loading the same image twice, merging a second image, and the relocation of every
// operand kind and table entry.
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

// The position of the only byte in which two images of equal length differ.
size_t differingByte(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    EXPECT_EQ(a.size(), b.size());
    size_t at = SIZE_MAX;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            EXPECT_EQ(at, SIZE_MAX) << "more than one byte differs";
            at = i;
        }
    }
    EXPECT_NE(at, SIZE_MAX);
    return at;
}

// Everything the loader appends to, for "left unchanged" checks.
struct TableSizes {
    size_t modules, code, methods, entries, gcInfos, classes, superClass, strings;
    int32_t codeSize, maxClassId;
    bool operator==(const TableSizes&) const = default;
};

TableSizes sizes(const VirtualMachine& vm)
{
    size_t entries = 0;
    for (const ExportedMethod& m : vm.methods)
        entries += m.entries.size();
    return {vm.modules.size(),    vm.code.size(),
            vm.methods.size(),    entries,
            vm.gcInfos.size(),    vm.classRefFields.size(),
            vm.superClass.size(), vm.stringPool.size(),
            vm.codeSize,          vm.maxClassId};
}

const ExportedMethod* method(const VirtualMachine& vm, const std::u16string& name)
{
    for (const ExportedMethod& m : vm.methods)
        if (m.name == name) return &m;
    return nullptr;
}

} // namespace

TEST(ImageLoader, IdentityMustBeTwentyBytes)
{
    std::vector<uint8_t> bytes = assembled("NOP\n");
    ASSERT_EQ(bytes[0], 20);
    for (uint8_t length : {0, 19, 21, 255}) {
        std::vector<uint8_t> bad = bytes;
        bad[0] = length;
        VirtualMachine vm;
        EXPECT_NE(load(vm, bad), 1) << int(length);
        // Rejected before anything was appended.
        EXPECT_TRUE(vm.modules.empty());
        EXPECT_EQ(vm.codeSize, 0);
    }
    VirtualMachine vm;
    EXPECT_NE(load(vm, {}), 1);
    EXPECT_NE(load(vm, {20, 1, 2, 3}), 1); // identity cut short
}

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
    // The last instruction loses its final operand byte.
    std::vector<uint8_t> cut = assembled("NOP\nPUSH32 7\n");
    cut.pop_back();
    EXPECT_EQ(reasonFor(cut),
              "the image ends inside an instruction at byte " + std::to_string(cut.size() - 4));
    std::vector<uint8_t> selector = assembled("CALLV 0\n");
    EXPECT_EQ(reasonFor(selector),
              "selector 0 is not in the image at byte " + std::to_string(selector.size() - 5));
}

TEST(ImageLoader, MarkerAndWidthBytes)
{
    static const char* const kKeys[] = {"code",  "gcinfo", "class", "hassuper",  "skipcount",
                                        "slot1", "slot2",  "slot3", "entrycount"};
    // Every width accepts 1, 2 and 4 and gives the same tables.
    for (int k = 0; k < 9; ++k) {
        for (int w : {1, 2, 4}) {
            const std::string source =
                std::string(".widths ") + kKeys[k] + "=" + std::to_string(w) + R"(
.frame f slots=3,2,1
.function "f" 7 info=f
.class A
.class B parent=A skip=0
.selector "s"
.impl B 5 info=f
NOP
)";
            VirtualMachine vm;
            const std::vector<uint8_t> bytes = assembled(source);
            ASSERT_EQ(bytes[23 + k], w);
            ASSERT_EQ(load(vm, bytes), 1) << kKeys[k] << "=" << w;
            EXPECT_EQ(vm.methods.at(0).entries.at(0).codeAddress, 7);
            EXPECT_EQ(vm.methods.at(1).entries.at(0).classId, 2);
            EXPECT_EQ(vm.methods.at(1).entries.at(0).codeAddress, 5);
            EXPECT_EQ(vm.superClass.at(2), 1);
            EXPECT_EQ(vm.gcInfos.at(0).slotCount1, 3);
            EXPECT_EQ(vm.gcInfos.at(0).slotCount2, 2);
            EXPECT_EQ(vm.gcInfos.at(0).slotCount3, 1);
        }
    }
    const std::vector<uint8_t> good = assembled("NOP\n");
    for (int k = 0; k < 9; ++k) {
        for (uint8_t w : {0, 3, 5, 8, 255}) {
            std::vector<uint8_t> bad = good;
            bad[23 + k] = w;
            VirtualMachine vm;
            EXPECT_NE(load(vm, bad), 1) << "width " << k << " = " << int(w);
        }
    }
    for (size_t at : {21, 22}) {
        std::vector<uint8_t> bad = good;
        bad[at] = 0xFE;
        VirtualMachine vm;
        EXPECT_NE(load(vm, bad), 1) << "marker byte " << at;
    }
}

TEST(ImageLoader, FlagBytesAreZeroOr255)
{
    const std::string head = std::string(kIdentityA) + ".class A arrays=1*,2\n";
    const std::string frame = ".frame f arrays=3* inline=4,5*\nNOP\n";
    const std::vector<uint8_t> good = assembled(head + frame);
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, good), 1);
        EXPECT_EQ(vm.classArrayFields.at(1), (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(vm.classArrayHoldsRefs.at(1), (std::vector<uint8_t>{255, 0}));
        EXPECT_EQ(vm.gcInfos.at(0).arrayPointerSlots, (std::vector<int32_t>{3}));
        EXPECT_EQ(vm.gcInfos.at(0).arrayPointerElementIsReference, (std::vector<uint8_t>{255}));
        EXPECT_EQ(vm.gcInfos.at(0).inlineArraySlots, (std::vector<int32_t>{4, 5}));
        EXPECT_EQ(vm.gcInfos.at(0).inlineArrayElementIsReference, (std::vector<uint8_t>{0, 255}));
    }
    // Locate each flag byte by flipping it in the source, then try values other than 0/255.
    const std::vector<size_t> flags = {
        differingByte(good, assembled(std::string(kIdentityA) + ".class A arrays=1,2\n" + frame)),
        differingByte(good, assembled(head + ".frame f arrays=3 inline=4,5*\nNOP\n")),
        differingByte(good, assembled(head + ".frame f arrays=3* inline=4*,5*\nNOP\n")),
    };
    for (size_t at : flags) {
        for (uint8_t value : {1, 127, 128, 254}) {
            std::vector<uint8_t> bad = good;
            bad[at] = value;
            VirtualMachine vm;
            EXPECT_NE(load(vm, bad), 1) << "flag at " << at << " = " << int(value);
        }
    }
}

TEST(ImageLoader, SameImageTwice)
{
    const std::vector<uint8_t> bytes = assembled(std::string(kIdentityA) + R"(
.globals 2
.frame f params=1 refs=0
.function @main main info=f
.class A refs=1
.selector "<a>.run"
.impl A main info=f
.string "text"
main: PUSHSTR "text"
      RET 0, 0
)");
    VirtualMachine vm;
    int32_t first = -1;
    ASSERT_EQ(load(vm, bytes, first), 1);
    EXPECT_EQ(first, 0);
    const TableSizes before = sizes(vm);
    const std::vector<uint8_t> codeBefore = vm.code;

    // Same identity, same name: the module that is there, nothing read again.
    int32_t again = -1;
    ASSERT_EQ(load(vm, bytes, again), 1);
    EXPECT_EQ(again, first);
    EXPECT_EQ(sizes(vm), before);
    EXPECT_EQ(vm.code, codeBefore);

    // Same identity under another name: a second copy.
    int32_t other = -1;
    ASSERT_EQ(load(vm, bytes, other, u"other.mcb"), 1);
    EXPECT_EQ(other, 1);
    ASSERT_EQ(vm.modules.size(), 2u);
    EXPECT_EQ(vm.modules[1].name, u"other.mcb");
    EXPECT_EQ(vm.modules[1].codeBase, before.codeSize);
    EXPECT_EQ(vm.codeSize, 2 * before.codeSize);
    EXPECT_EQ(vm.stringPool.size(), 2 * before.strings);
    EXPECT_EQ(vm.gcInfos.size(), 2 * before.gcInfos);
    EXPECT_EQ(vm.maxClassId, 2);
    // Its PUSHSTR names its own copy of the string.
    EXPECT_EQ(word(vm, size_t(before.codeSize) + 1), 1);
    // And the selector record is shared: one record with both implementations.
    const ExportedMethod* run = method(vm, u"<a>.run");
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->entries.size(), 2u);
    EXPECT_EQ(run->entries[1].classId, 2);
    EXPECT_EQ(run->entries[1].codeAddress, before.codeSize);
}

TEST(ImageLoader, SecondImageMergesSelectorsIntoExistingRecords)
{
    VirtualMachine vm;
    ASSERT_EQ(load(vm, assembled(std::string(kIdentityA) + R"(
.function "foo" 0
.class A
.selector "<x>.bar"
.impl A 1
NOP
NOP
)")),
              1);
    ASSERT_EQ(vm.methods.size(), 2u);
    int32_t index = -1;
    ASSERT_EQ(load(vm, assembled(std::string(kIdentityB) + R"(
.class B0
.class B1
.selector "<x>.bar"
.impl B1 code
.selector "foo"
.impl B0 code
.selector "<x>.new"
.impl B0 code
code:
    CALLV "<x>.bar"
    CALLV "foo"
    CALLV "<x>.new"
)"),
                   index),
              1);
    EXPECT_EQ(index, 1);
    // Only the new name made a record; the others gained an implementation.
    ASSERT_EQ(vm.methods.size(), 3u);
    const ExportedMethod& foo = vm.methods[0];
    const ExportedMethod& bar = vm.methods[1];
    EXPECT_EQ(foo.name, u"foo");
    ASSERT_EQ(foo.entries.size(), 2u);
    EXPECT_EQ(foo.entries[0].classId, -1);
    EXPECT_EQ(foo.entries[1].classId, 2); // B0: image id 0 + class base 2
    EXPECT_EQ(foo.entries[1].codeAddress, 2);
    ASSERT_EQ(bar.entries.size(), 2u);
    EXPECT_EQ(bar.entries[0].classId, 1);
    EXPECT_EQ(bar.entries[1].classId, 3);
    EXPECT_EQ(vm.methods[2].name, u"<x>.new");
    EXPECT_EQ(vm.methods[2].moduleIndex, 1);
    EXPECT_EQ(vm.methods[2].sharedSelector, 1);
    // CALLV operands now name global method-table records.
    EXPECT_EQ(vm.code.at(2), uint8_t(Op::CALLV));
    EXPECT_EQ(word(vm, 3), 1);
    EXPECT_EQ(word(vm, 8), 0);
    EXPECT_EQ(word(vm, 13), 2);
    EXPECT_EQ(vm.maxClassId, 3);
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
    CALL target, g1             ; 0
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
    EXPECT_EQ(word(vm, at + 5), infoBase + 1);  // CALL method info
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

TEST(ImageLoader, NarrowWidthsAreZeroExtended)
{
    VirtualMachine vm;
    ASSERT_EQ(load(vm, assembled(R"(
.widths code=1 gcinfo=2 class=1 slot1=1 slot2=2 slot3=1
.frame f slots=255,65535,200 refs=255 exact=254
.frame g refs=65535
.function "f" 255 info=65535
.selector "s"
.impl 254 200 info=255
.class A refs=255
.class B refs=65535 arrays=65534*
NOP
)")),
              1);
    const MethodEntry& fe = vm.methods.at(0).entries.at(0);
    EXPECT_EQ(fe.codeAddress, 255);
    EXPECT_EQ(fe.gcInfoIndex, 65535);
    const MethodEntry& se = vm.methods.at(1).entries.at(0);
    EXPECT_EQ(se.classId, 255); // 254 + class base 1
    EXPECT_EQ(se.codeAddress, 200);
    EXPECT_EQ(se.gcInfoIndex, 255);
    EXPECT_EQ(vm.maxClassId, 255);
    EXPECT_EQ(vm.gcInfos.at(0).slotCount1, 255);
    EXPECT_EQ(vm.gcInfos.at(0).slotCount2, 65535);
    EXPECT_EQ(vm.gcInfos.at(0).slotCount3, 200);
    EXPECT_EQ(vm.gcInfos.at(0).conservativeReferenceSlots, (std::vector<int32_t>{255}));
    EXPECT_EQ(vm.gcInfos.at(0).exactReferenceSlots, (std::vector<int32_t>{254}));
    EXPECT_EQ(vm.gcInfos.at(1).conservativeReferenceSlots, (std::vector<int32_t>{65535}));
    EXPECT_EQ(vm.classRefFields.at(1), (std::vector<int32_t>{255}));
    EXPECT_EQ(vm.classRefFields.at(2), (std::vector<int32_t>{65535}));
    EXPECT_EQ(vm.classArrayFields.at(2), (std::vector<int32_t>{65534}));
}

TEST(ImageLoader, NegativeCountsAreEmptyLists)
{
    VirtualMachine vm;
    ASSERT_EQ(load(vm, assembled(R"(
.widths entrycount=4 skipcount=4
.count functions -1
.selector empty(-3) count=-2
.class A refs=empty(-1) arrays=empty(-9) skip=empty(-4)
.frame f refs=empty(-1) arrays=empty(-1) exact=empty(-2) inline=empty(-3)
.string empty(-5)
.string "x"
NOP
)")),
              1);
    ASSERT_EQ(vm.methods.size(), 1u);
    EXPECT_TRUE(vm.methods[0].entries.empty());
    EXPECT_TRUE(vm.methods[0].name.empty());
    EXPECT_TRUE(vm.classRefFields.at(1).empty());
    EXPECT_TRUE(vm.classArrayFields.at(1).empty());
    EXPECT_TRUE(vm.gcInfos.at(0).inlineArraySlots.empty());
    ASSERT_EQ(vm.stringPool.size(), 2u);
    EXPECT_EQ(vm.stringPool[0].toU16(), u"");
    EXPECT_EQ(vm.stringPool[1].toU16(), u"x");
    EXPECT_EQ(vm.codeSize, 1);
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
        for (uint32_t huge : {0x7FFFFFFFu, 0x10000000u, 0x01000000u}) {
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

TEST(ImageLoader, SelectorNumbersOutsideTheImageAreRefused)
{
    // One selector: 0 is the only number a CALLV of this image may name.
    for (const char* call : {"CALLV 1\n", "CALLV -1\n"}) {
        VirtualMachine vm;
        EXPECT_NE(load(vm, assembled(std::string(kIdentityA) + ".selector \"s\"\n" + call)), 1)
            << call;
    }
    VirtualMachine vm;
    EXPECT_EQ(load(vm, assembled(std::string(kIdentityA) + ".selector \"s\"\nCALLV 0\n")), 1);
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

TEST(ImageLoader, GlobalsBlock)
{
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, assembled(".globals 4\nNOP\n")), 1);
        EXPECT_EQ(vm.globalWords, 4);
        EXPECT_NE(vm.globalsHandle, 0u);
    }
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, assembled(".globals 0\nNOP\n")), 1);
        EXPECT_EQ(vm.globalsHandle, 0u);
    }
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, assembled(".globals -3\nNOP\n")), 1);
        EXPECT_EQ(vm.globalsHandle, 0u);
    }
    {
        VirtualMachine vm;
        ASSERT_EQ(load(vm, assembled(".globals 65536\nNOP\n")), 1);
        EXPECT_NE(vm.globalsHandle, 0u);
        EXPECT_EQ(vm.globalWords, 65536);
    }
    {
        // No machine has room for 8 GiB of globals: refused, nothing allocated.
        VirtualMachine vm;
        EXPECT_NE(load(vm, assembled(".globals 0x7FFFFFFF\nNOP\n")), 1);
        EXPECT_EQ(vm.globalsHandle, 0u);
    }
}

TEST(ImageLoader, LaterImagesGetClassIdsAboveEveryLoadedClass)
{
    // The first image declares classes but never names them in a selector or SETCLASS; the
    // second image's classes must still not reuse their ids.
    VirtualMachine vm;
    ASSERT_EQ(load(vm, assembled(std::string(kIdentityA) + ".class A refs=1\n.class B refs=2\n")),
              1);
    ASSERT_EQ(load(vm, assembled(std::string(kIdentityB) + ".class C refs=3\nSETCLASS C\n")), 1);
    EXPECT_EQ(vm.classRefFields.at(1), (std::vector<int32_t>{1}));
    EXPECT_EQ(vm.classRefFields.at(2), (std::vector<int32_t>{2}));
    EXPECT_EQ(vm.classRefFields.at(3), (std::vector<int32_t>{3}));
    EXPECT_EQ(word(vm, size_t(vm.modules[1].codeBase) + 1), 3);
    EXPECT_EQ(vm.maxClassId, 3);
}
