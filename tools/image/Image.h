// SPDX-License-Identifier: MIT
// An index.mcb image held in memory, field for field as it is stored, so that reading and
// writing it again gives back the same bytes. The assembler fills one, the writer turns it into
// bytes, the reader parses bytes into one and the disassembler prints it.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelmo::image {

// Indices into Image::widths: which values of the image each header width byte governs.
enum WidthKind : int {
    kCodeAddressWidth,
    kGcInfoIndexWidth,
    kClassIdWidth,
    kHasSuperWidth,
    kSkipListCountWidth,
    kSlotCount1Width,
    kSlotCount2Width,
    kSlotCount3Width,
    kEntryCountWidth,
    kWidthCount
};

// Every list of the format starts with a count. A count whose top bit is set reads as negative
// and stands for an empty list; `emptyCount` keeps such a count (0 otherwise) so that the image
// can be written back exactly.
struct ByteString {
    std::string bytes;       // names: one character per byte; strings: UTF-8
    uint32_t emptyCount = 0; // only when bytes is empty
};

struct OffsetList {
    std::vector<uint32_t> values;
    uint32_t emptyCount = 0;
};

struct FlaggedOffset {
    uint8_t flag = 0; // 0, or 255 when the elements are references
    uint32_t offset = 0;
};

struct FlaggedList {
    std::vector<FlaggedOffset> values;
    uint32_t emptyCount = 0;
};

struct Function {
    ByteString name;
    uint32_t codeAddress = 0;
    uint32_t gcInfoIndex = 0;
};

struct Implementation {
    uint32_t classId = 0;
    uint32_t codeAddress = 0;
    uint32_t gcInfoIndex = 0;
};

struct Selector {
    ByteString name;
    std::vector<Implementation> implementations;
    uint32_t emptyCount = 0;
};

struct ClassRecord {
    uint8_t width = 0; // of the offsets; 0 = not chosen yet
    OffsetList referenceFields;
    FlaggedList arrayFields;
    uint32_t hasParent = 0; // any non-zero value means a parent follows
    uint32_t parent = 0;
    OffsetList discardedIds;
};

struct MethodInfo {
    uint8_t width = 0; // of the offsets; 0 = not chosen yet
    uint32_t slotCount1 = 0;
    OffsetList conservativeReferenceSlots;
    FlaggedList arrayPointerSlots;
    uint32_t slotCount2 = 0;
    uint32_t slotCount3 = 0;
    OffsetList exactReferenceSlots;
    FlaggedList inlineArraySlots;
};

template <class T> struct Section {
    std::vector<T> items;
    uint32_t emptyCount = 0;
};

struct Image {
    std::vector<uint8_t> identity; // 20 bytes in a loadable image
    std::array<uint8_t, 2> marker{0xFF, 0xFF};
    std::array<uint8_t, kWidthCount> widths{}; // 1, 2 or 4; 0 = not chosen yet
    Section<Function> functions;
    Section<Selector> selectors;
    int32_t globalWords = 0;
    Section<ClassRecord> classes;
    Section<MethodInfo> methodInfos;
    Section<ByteString> strings;
    std::vector<uint8_t> code;
};

// A malformed image or an unwritable model.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr bool isValidWidth(int w)
{
    return w == 1 || w == 2 || w == 4;
}

// Whether a raw value survives being stored in w bytes.
constexpr bool fitsWidth(uint32_t value, int w)
{
    return w == 4 || (w == 2 && value <= 0xFFFF) || (w == 1 && value <= 0xFF);
}

constexpr int smallestWidth(uint32_t value)
{
    return value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4;
}

// Fills every width that is still 0 with the smallest one that holds all values it governs.
void chooseWidths(Image& image);

// The names of the header width bytes, in header order, as the assembler spells them.
extern const std::array<const char*, kWidthCount> kWidthNames;

} // namespace zelmo::image
