// SPDX-License-Identifier: MIT
// Malformed images must never crash the loader: every prefix of valid images and many random
// mutations of them (byte changes, insertions, deletions, huge counts) either load or fail
// cleanly, each on a fresh machine. Run under ASan/UBSan in CI.
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "image/Assembler.h"
#include "image/Disassembler.h"
#include "image/ImageReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>

using namespace zelmo;

namespace {

std::vector<std::vector<uint8_t>> validImages()
{
    const std::vector<std::string> sources = {
        // Every section, 1-byte widths.
        R"(
.globals 3
.frame mainf params=1 locals=2 refs=0 arrays=1* exact=2 inline=3
.frame other slots=2,1,1
.function @init init info=other
.function @main main info=mainf
.class Shape refs=1 arrays=2*,3
.class Circle parent=Shape refs=1,4 skip=0
.selector "<shape>.area"
.impl Circle area info=other
.impl Shape area info=mainf
.string "h\u{e9}llo"
.string "\u{1F600}\xff"
init: RET 0, 0
main:
    PUSHSTR 0
    CALL area, mainf
    CALL area, 1
    CALLV "<shape>.area"
    SETCLASS Circle
    TRY Shape, handler
    TRY -1, handler
    JZ16 main
    JMP32 handler
    NEW NATIVE, 2
    NEWOBJ CLASS_OBJECT, 3, 1
    NATIVE String.initEmpty
    EXTCALL Torch, 0
    PUSH64 -1
handler:
    ENDTRY -2
area:
    RET 1, 1
)",
        // Four-byte widths throughout, negative counts.
        R"(
.widths code=4 gcinfo=4 class=4 hassuper=4 skipcount=4 slot1=4 slot2=4 slot3=4 entrycount=4
.count functions -1
.selector "s" count=-5
.selector "t"
.impl 70000 x info=none
.class A refs=70000 width=4 skip=empty(-2)
.frame f slots=100000,2,3 refs=1 width=4
.string empty(-1)
x:  CALL x, none
    CALLV 1
    PUSHSTR 0
)",
        // Mixed widths and a code section with invalid opcodes.
        R"(
.widths code=2 gcinfo=1 class=2 slot1=2
.globals 1
.frame f params=300
.function "f" 300 info=f
.class A parent=A hasparent=7
.string "x"
    .byte 56, 200, 255
    PUSHSTR "x"
    .byte 119, 66
)",
    };
    std::vector<std::vector<uint8_t>> images;
    for (const std::string& s : sources) {
        images.push_back(image::assembleToBytes(s, "robust.asm"));
        const std::string listing = image::disassemble(image::readImage(images.back()));
        EXPECT_EQ(image::assembleToBytes(listing, "listing.asm"), images.back()) << listing;
    }
    return images;
}

// Where the globals word of an image would be read, if the sections before it parse.
std::optional<size_t> globalsOffset(const std::vector<uint8_t>& b)
{
    if (b.size() < 32 || b[0] != 20 || b[21] != 0xFF || b[22] != 0xFF) return std::nullopt;
    int w[9];
    for (int k = 0; k < 9; ++k) {
        w[k] = b[23 + k];
        if (w[k] != 1 && w[k] != 2 && w[k] != 4) return std::nullopt;
    }
    size_t pos = 32;
    auto value = [&](int width) -> std::optional<int64_t> {
        if (pos + size_t(width) > b.size()) return std::nullopt;
        uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v |= uint32_t{b[pos + size_t(i)]} << (8 * i);
        pos += size_t(width);
        return width == 4 ? int64_t(int32_t(v)) : int64_t(v);
    };
    auto skipName = [&]() {
        const auto n = value(4);
        if (!n) return false;
        pos += size_t(std::max<int64_t>(0, std::min<int64_t>(*n, int64_t(b.size()))));
        return pos <= b.size();
    };
    const auto functions = value(4);
    for (int64_t i = 0; functions && i < std::min<int64_t>(*functions, int64_t(b.size())); ++i)
        if (!skipName() || !value(w[0]) || !value(w[1])) return std::nullopt;
    const auto selectors = value(4);
    for (int64_t i = 0; selectors && i < std::min<int64_t>(*selectors, int64_t(b.size())); ++i) {
        if (!skipName()) return std::nullopt;
        const auto n = value(w[8]);
        if (!n) return std::nullopt;
        pos += size_t(std::clamp<int64_t>(*n, 0, int64_t(b.size())) * (w[2] + w[0] + w[1]));
    }
    if (!functions || !selectors || pos + 4 > b.size()) return std::nullopt;
    return pos;
}

// Loads bytes on a fresh machine (after a valid image when `afterValid` is given) and checks
// the outcome is 1 with consistent tables, 0, or a managed error. Sets `ok` when it loaded.
void loadOnce(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>* afterValid, bool& ok)
{
    ok = false;
    VirtualMachine vm;
    int32_t index = -1;
    if (afterValid) {
        TARNEL::MemoryInputStream first(*afterValid);
        ASSERT_EQ(vm.readBytecode(u"first.mcb", first, index), 1);
    }
    TARNEL::MemoryInputStream stream(bytes);
    try {
        const int result = vm.readBytecode(u"index.mcb", stream, index);
        ASSERT_TRUE(result == 0 || result == 1) << result;
        if (result == 1) {
            ASSERT_GE(index, 0);
            ASSERT_LT(size_t(index), vm.modules.size());
            const BytecodeStruct& m = vm.modules[size_t(index)];
            ASSERT_LE(int64_t(m.codeBase) + m.codeSize, int64_t(vm.codeSize));
            ASSERT_LE(size_t(vm.codeSize), vm.code.size());
            ok = true;
        }
    } catch (const ErrorHandlingException&) {
        // A stream that ends inside a section: a managed error, as designed.
    } catch (const std::exception& e) {
        FAIL() << "unexpected exception: " << e.what();
    }
}

} // namespace

TEST(ImageRobustness, EveryPrefixOfValidImages)
{
    const auto images = validImages();
    for (const auto& image : images) {
        for (size_t n = 0; n <= image.size(); ++n) {
            bool ok = false;
            loadOnce(std::vector<uint8_t>(image.begin(), image.begin() + std::ptrdiff_t(n)),
                     nullptr, ok);
            // The code section is the open end: only prefixes that reach it can load.
            if (n == image.size()) {
                EXPECT_TRUE(ok);
            }
            if (HasFatalFailure()) FAIL() << "prefix of " << n << " bytes";
        }
    }
}

TEST(ImageRobustness, RandomMutations)
{
    // Sanitizer builds run fewer cases to keep the test quick; the normal build runs 100,000.
#if defined(__SANITIZE_ADDRESS__)
    const bool sanitized = true;
#else
    const bool sanitized = std::getenv("ZELMO_SANITIZED") != nullptr;
#endif
    const int cases = sanitized ? 20000 : 100000;
    const auto images = validImages();
    std::mt19937 rng(20240611);
    auto pick = [&rng](size_t n) { return size_t(rng() % uint32_t(n)); };
    // Counts beyond anything the bytes could hold, negative ones, and moderate ones. (A count
    // that happens to land on the globals word is a legitimate allocation of that many words,
    // so the moderate values stay small enough to keep the run quick.)
    static const uint32_t kHuge[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x40000000,
                                     0x01000001, 0x0000FFFF, 0x10000,    0xFFFFFFFE};
    int loaded = 0;
    int refused = 0;
    for (int i = 0; i < cases; ++i) {
        const std::vector<uint8_t>& original = images[pick(images.size())];
        std::vector<uint8_t> bytes = original;
        for (size_t m = 1 + pick(4); m > 0; --m) {
            const size_t at = bytes.empty() ? 0 : pick(bytes.size());
            switch (pick(6)) {
            case 0: // a byte changed
                if (!bytes.empty()) bytes[at] = uint8_t(rng());
                break;
            case 1: // a bit flipped
                if (!bytes.empty()) bytes[at] ^= uint8_t(1u << pick(8));
                break;
            case 2: // bytes inserted
                for (size_t k = 1 + pick(8); k > 0; --k)
                    bytes.insert(bytes.begin() + std::ptrdiff_t(at), uint8_t(rng()));
                break;
            case 3: // bytes deleted
                if (!bytes.empty())
                    bytes.erase(bytes.begin() + std::ptrdiff_t(at),
                                bytes.begin() +
                                    std::ptrdiff_t(std::min(bytes.size(), at + 1 + pick(8))));
                break;
            case 4: { // a huge count written over whatever is there
                const uint32_t v = kHuge[pick(std::size(kHuge))];
                for (size_t k = 0; k < 4 && at + k < bytes.size(); ++k)
                    bytes[at + k] = uint8_t(v >> (8 * k));
                break;
            }
            case 5: // cut short
                bytes.resize(at);
                break;
            }
        }
        // Keep most cases loadable past the header, where the interesting checks are.
        if (pick(4) != 0 && bytes.size() > 23) {
            bytes[0] = 20;
            bytes[21] = bytes[22] = 0xFF;
        }
        // A mutated globals word is a legitimate request for up to 16M words, which the heap
        // hands out zeroed: a few hundred such cases would take most of the run. Keep such
        // requests small; the loader tests cover the largest accepted and refused counts.
        if (const auto at = globalsOffset(bytes)) {
            const uint32_t words = bytes[*at] | bytes[*at + 1] << 8 | bytes[*at + 2] << 16 |
                                   uint32_t{bytes[*at + 3]} << 24;
            if (words > 0xFFFF && words <= (1u << 24)) bytes[*at + 2] = bytes[*at + 3] = 0;
        }
        const bool afterValid = pick(4) == 0;
        bool ok = false;
        loadOnce(bytes, afterValid ? &images[0] : nullptr, ok);
        if (HasFatalFailure()) {
            std::string hex;
            for (uint8_t b : bytes)
                hex += std::to_string(b) + " ";
            FAIL() << "case " << i << ": " << hex;
        }
        (ok ? loaded : refused) += 1;
    }
    // The mix must exercise both outcomes in earnest.
    EXPECT_GT(loaded, cases / 50);
    EXPECT_GT(refused, cases / 50);
}
