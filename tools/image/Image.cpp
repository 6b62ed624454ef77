// SPDX-License-Identifier: MIT
// Width selection for the header: each width byte covers one kind of value, and the smallest
// width that holds every such value keeps the image compact.
#include "image/Image.h"

#include "VirtualMachine/ImageCursor.h"

#include <algorithm>

namespace zelmo::image {

static_assert(kWidthCount == kImageWidthCount);
const std::array<const char*, kWidthCount> kWidthNames = kImageWidthNames;

namespace {

// A count that is written in a header width: an empty list may carry a negative count.
uint32_t countValue(size_t size, uint32_t emptyCount)
{
    return size == 0 ? emptyCount : static_cast<uint32_t>(size);
}

} // namespace

void chooseWidths(Image& image)
{
    std::array<int, kWidthCount> needed{};
    needed.fill(1);
    auto need = [&needed](WidthKind kind, uint32_t value) {
        needed[kind] = std::max(needed[kind], smallestWidth(value));
    };
    for (const Function& f : image.functions.items) {
        need(kCodeAddressWidth, f.codeAddress);
        need(kGcInfoIndexWidth, f.gcInfoIndex);
    }
    for (const Selector& s : image.selectors.items) {
        need(kEntryCountWidth, countValue(s.implementations.size(), s.emptyCount));
        for (const Implementation& i : s.implementations) {
            need(kClassIdWidth, i.classId);
            need(kCodeAddressWidth, i.codeAddress);
            need(kGcInfoIndexWidth, i.gcInfoIndex);
        }
    }
    for (const ClassRecord& c : image.classes.items) {
        need(kHasSuperWidth, c.hasParent);
        if (c.hasParent != 0) need(kClassIdWidth, c.parent);
        need(kSkipListCountWidth,
             countValue(c.discardedIds.values.size(), c.discardedIds.emptyCount));
        for (uint32_t id : c.discardedIds.values)
            need(kClassIdWidth, id);
    }
    for (const MethodInfo& m : image.methodInfos.items) {
        need(kSlotCount1Width, m.slotCount1);
        need(kSlotCount2Width, m.slotCount2);
        need(kSlotCount3Width, m.slotCount3);
    }
    for (int k = 0; k < kWidthCount; ++k)
        if (image.widths[k] == 0) image.widths[k] = static_cast<uint8_t>(needed[k]);

    auto offsetsWidth = [](const OffsetList& a, const FlaggedList& b) {
        int w = 1;
        for (uint32_t v : a.values)
            w = std::max(w, smallestWidth(v));
        for (const FlaggedOffset& v : b.values)
            w = std::max(w, smallestWidth(v.offset));
        return static_cast<uint8_t>(w);
    };
    for (ClassRecord& c : image.classes.items)
        if (c.width == 0) c.width = offsetsWidth(c.referenceFields, c.arrayFields);
    for (MethodInfo& m : image.methodInfos.items) {
        if (m.width == 0) {
            m.width = std::max(offsetsWidth(m.conservativeReferenceSlots, m.arrayPointerSlots),
                               offsetsWidth(m.exactReferenceSlots, m.inlineArraySlots));
        }
    }
}

} // namespace zelmo::image
