// SPDX-License-Identifier: MIT
// The reader walks the sections in file order; every read is bounds-checked against the end of
// the buffer and every count against the bytes that remain.
#include "image/ImageReader.h"

#include <string>

namespace zelmo::image {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    Image read()
    {
        Image image;
        m_section = "identity";
        const uint8_t identityLength = u8();
        if (identityLength != 20)
            fail("identity length is " + std::to_string(identityLength) + ", not 20");
        image.identity = raw(20);
        m_section = "marker";
        for (uint8_t& b : image.marker) {
            b = u8();
            if (b != 0xFF) fail("marker byte is " + std::to_string(b) + ", not 255");
        }
        m_section = "widths";
        for (int k = 0; k < kWidthCount; ++k) {
            image.widths[k] = u8();
            if (!isValidWidth(image.widths[k]))
                fail(std::string("width '") + kWidthNames[k] + "' is " +
                     std::to_string(image.widths[k]) + ", not 1, 2 or 4");
        }
        m_widths = image.widths;

        m_section = "functions";
        readSection(image.functions, 4 + w(kCodeAddressWidth) + w(kGcInfoIndexWidth),
                    [this](Function& f) {
                        f.name = name();
                        f.codeAddress = value(kCodeAddressWidth);
                        f.gcInfoIndex = value(kGcInfoIndexWidth);
                    });
        m_section = "selectors";
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
        m_section = "globals";
        image.globalWords = static_cast<int32_t>(u32());
        m_section = "classes";
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
        m_section = "method infos";
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
        m_section = "strings";
        readSection(image.strings, 4, [this](ByteString& s) { s = name(); });
        image.code.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos), m_bytes.end());
        return image;
    }

private:
    static bool isNegative(uint32_t count) { return (count & 0x80000000u) != 0; }

    [[noreturn]] void fail(const std::string& what) const
    {
        throw ImageError("at byte " + std::to_string(m_pos) + " (" + m_section + "): " + what);
    }

    size_t remaining() const { return m_bytes.size() - m_pos; }

    void need(uint64_t n) const
    {
        if (n > remaining()) fail("the image ends early");
    }

    void checkCount(uint32_t count, int64_t minimumSize) const
    {
        if (uint64_t{count} * uint64_t(minimumSize) > remaining())
            fail("count " + std::to_string(count) + " cannot fit in the " +
                 std::to_string(remaining()) + " bytes that remain");
    }

    int w(WidthKind kind) const { return m_widths[kind]; }

    uint8_t u8()
    {
        need(1);
        return m_bytes[m_pos++];
    }

    uint32_t sized(int width)
    {
        need(width);
        uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v |= uint32_t{m_bytes[m_pos++]} << (8 * i);
        return v;
    }

    uint32_t u32() { return sized(4); }
    uint32_t value(WidthKind kind) { return sized(w(kind)); }

    std::vector<uint8_t> raw(size_t n)
    {
        need(n);
        std::vector<uint8_t> out(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos),
                                 m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos + n));
        m_pos += n;
        return out;
    }

    ByteString name()
    {
        ByteString s;
        const uint32_t n = u32();
        if (isNegative(n)) {
            s.emptyCount = n;
            return s;
        }
        checkCount(n, 1);
        const std::vector<uint8_t> bytes = raw(n);
        s.bytes.assign(bytes.begin(), bytes.end());
        return s;
    }

    uint8_t offsetWidth()
    {
        const uint8_t width = u8();
        if (!isValidWidth(width))
            fail("offset width is " + std::to_string(width) + ", not 1, 2 or 4");
        return width;
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
            v.flag = u8();
            if (v.flag != 0 && v.flag != 0xFF)
                fail("flag byte is " + std::to_string(v.flag) + ", not 0 or 255");
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

    const std::vector<uint8_t>& m_bytes;
    size_t m_pos = 0;
    std::string m_section;
    std::array<uint8_t, kWidthCount> m_widths{};
};

} // namespace

Image readImage(const std::vector<uint8_t>& bytes)
{
    return Reader(bytes).read();
}

} // namespace zelmo::image
