// SPDX-License-Identifier: MIT
// The reader walks the sections in file order. The structural checks (bounds, counts against
// the bytes that remain, identity, marker, widths, flags) are the machine loader's own, from
// the shared image cursor, so the disassembler explains exactly what the loader refuses.
#include "image/ImageReader.h"

#include "VirtualMachine/ImageCursor.h"

#include <string>

namespace zelmo::image {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_in(bytes.data(), bytes.size()) {}

    Image read()
    {
        Image image;
        const uint8_t* identity = m_in.identity();
        image.identity.assign(identity, identity + 20);
        m_in.marker();
        image.widths = m_in.widths();
        m_widths = image.widths;

        m_in.setSection("functions");
        readSection(image.functions, 4 + w(kCodeAddressWidth) + w(kGcInfoIndexWidth),
                    [this](Function& f) {
                        f.name = name();
                        f.codeAddress = value(kCodeAddressWidth);
                        f.gcInfoIndex = value(kGcInfoIndexWidth);
                    });
        m_in.setSection("selectors");
        readSection(image.selectors, 4 + w(kEntryCountWidth), [this](Selector& s) {
            s.name = name();
            const uint32_t n = value(kEntryCountWidth);
            const int64_t size = w(kClassIdWidth) + w(kCodeAddressWidth) + w(kGcInfoIndexWidth);
            if (isNegative(n)) {
                s.emptyCount = n;
                return;
            }
            checkCount(n, size);
            s.implementations.resize(n);
            for (Implementation& i : s.implementations) {
                i.classId = value(kClassIdWidth);
                i.codeAddress = value(kCodeAddressWidth);
                i.gcInfoIndex = value(kGcInfoIndexWidth);
            }
        });
        m_in.setSection("globals");
        image.globalWords = static_cast<int32_t>(u32());
        m_in.setSection("classes");
        readSection(image.classes, 1 + 4 + 4 + w(kHasSuperWidth) + w(kSkipListCountWidth),
                    [this](ClassRecord& c) {
                        c.width = offsetWidth();
                        c.referenceFields = offsets(c.width);
                        c.arrayFields = flagged(c.width);
                        c.hasParent = value(kHasSuperWidth);
                        if (c.hasParent != 0) c.parent = value(kClassIdWidth);
                        const uint32_t n = value(kSkipListCountWidth);
                        if (isNegative(n)) {
                            c.discardedIds.emptyCount = n;
                            return;
                        }
                        checkCount(n, w(kClassIdWidth));
                        c.discardedIds.values.resize(n);
                        for (uint32_t& id : c.discardedIds.values)
                            id = value(kClassIdWidth);
                    });
        m_in.setSection("method infos");
        readSection(image.methodInfos,
                    1 + w(kSlotCount1Width) + 8 + w(kSlotCount2Width) + w(kSlotCount3Width) + 8,
                    [this](MethodInfo& m) {
                        m.width = offsetWidth();
                        m.slotCount1 = value(kSlotCount1Width);
                        m.conservativeReferenceSlots = offsets(m.width);
                        m.arrayPointerSlots = flagged(m.width);
                        m.slotCount2 = value(kSlotCount2Width);
                        m.slotCount3 = value(kSlotCount3Width);
                        m.exactReferenceSlots = offsets(m.width);
                        m.inlineArraySlots = flagged(m.width);
                    });
        m_in.setSection("strings");
        readSection(image.strings, 4, [this](ByteString& s) { s = name(); });
        const size_t codeSize = m_in.remaining();
        const uint8_t* code = m_in.take(codeSize);
        image.code.assign(code, code + codeSize);
        return image;
    }

private:
    static bool isNegative(uint32_t count) { return ImageCursor::isEmptyCount(count); }
    void checkCount(uint32_t count, int64_t minimumSize) const
    {
        m_in.checkCount(count, minimumSize);
    }
    int w(WidthKind kind) const { return m_widths[kind]; }
    uint8_t u8() { return m_in.u8(); }
    uint32_t sized(int width) { return m_in.sized(width); }
    uint32_t u32() { return m_in.u32(); }
    uint32_t value(WidthKind kind) { return sized(w(kind)); }
    uint8_t offsetWidth() { return m_in.offsetWidth(); }

    ByteString name()
    {
        ByteString s;
        const uint32_t n = u32();
        if (isNegative(n)) {
            s.emptyCount = n;
            return s;
        }
        checkCount(n, 1);
        const uint8_t* bytes = m_in.take(n);
        s.bytes.assign(bytes, bytes + n);
        return s;
    }

    OffsetList offsets(int width)
    {
        OffsetList list;
        const uint32_t n = u32();
        if (isNegative(n)) {
            list.emptyCount = n;
            return list;
        }
        checkCount(n, width);
        list.values.resize(n);
        for (uint32_t& v : list.values)
            v = sized(width);
        return list;
    }

    FlaggedList flagged(int width)
    {
        FlaggedList list;
        const uint32_t n = u32();
        if (isNegative(n)) {
            list.emptyCount = n;
            return list;
        }
        checkCount(n, 1 + width);
        list.values.resize(n);
        for (FlaggedOffset& v : list.values) {
            v.flag = m_in.flag();
            v.offset = sized(width);
        }
        return list;
    }

    template <class T, class F> void readSection(Section<T>& section, int64_t minimumSize, F item)
    {
        const uint32_t n = u32();
        if (isNegative(n)) {
            section.emptyCount = n;
            return;
        }
        checkCount(n, minimumSize);
        section.items.resize(n);
        for (T& t : section.items)
            item(t);
    }

    ImageCursor m_in;
    std::array<uint8_t, kWidthCount> m_widths{};
};

} // namespace

Image readImage(const std::vector<uint8_t>& bytes)
{
    try {
        return Reader(bytes).read();
    } catch (const ImageFormatError& e) {
        throw ImageError(e.what());
    }
}

} // namespace zelmo::image
