// SPDX-License-Identifier: MIT
// Serialisation of the image sections in file order: identity, marker, widths, functions,
// selectors, globals, classes, method infos, strings, code.
#include "image/ImageWriter.h"

#include <QCryptographicHash>

#include <string>

namespace zelmo::image {

namespace {

class Writer {
public:
    explicit Writer(const Image& image) : m_image(image) {}

    std::vector<uint8_t> body()
    {
        for (uint8_t b : m_image.marker)
            m_out.push_back(b);
        for (int k = 0; k < kWidthCount; ++k) {
            if (!isValidWidth(m_image.widths[k]))
                throw ImageError(std::string("width '") + kWidthNames[k] + "' is " +
                                 std::to_string(m_image.widths[k]) + ", not 1, 2 or 4");
            m_out.push_back(m_image.widths[k]);
        }
        writeSectionCount(m_image.functions);
        for (const Function& f : m_image.functions.items) {
            name(f.name);
            value(f.codeAddress, kCodeAddressWidth, "function code address");
            value(f.gcInfoIndex, kGcInfoIndexWidth, "function method-info index");
        }
        writeSectionCount(m_image.selectors);
        for (const Selector& s : m_image.selectors.items) {
            name(s.name);
            value(count(s.implementations.size(), s.emptyCount), kEntryCountWidth,
                  "implementation count");
            for (const Implementation& i : s.implementations) {
                value(i.classId, kClassIdWidth, "implementation class id");
                value(i.codeAddress, kCodeAddressWidth, "implementation code address");
                value(i.gcInfoIndex, kGcInfoIndexWidth, "implementation method-info index");
            }
        }
        u32(static_cast<uint32_t>(m_image.globalWords));
        writeSectionCount(m_image.classes);
        for (const ClassRecord& c : m_image.classes.items) {
            offsetWidth(c.width);
            offsets(c.referenceFields, c.width);
            flagged(c.arrayFields, c.width);
            value(c.hasParent, kHasSuperWidth, "has-parent flag");
            if (c.hasParent != 0) value(c.parent, kClassIdWidth, "parent class id");
            value(count(c.discardedIds.values.size(), c.discardedIds.emptyCount),
                  kSkipListCountWidth, "discarded id count");
            for (uint32_t id : c.discardedIds.values)
                value(id, kClassIdWidth, "discarded class id");
        }
        writeSectionCount(m_image.methodInfos);
        for (const MethodInfo& m : m_image.methodInfos.items) {
            offsetWidth(m.width);
            value(m.slotCount1, kSlotCount1Width, "slotCount1");
            offsets(m.conservativeReferenceSlots, m.width);
            flagged(m.arrayPointerSlots, m.width);
            value(m.slotCount2, kSlotCount2Width, "slotCount2");
            value(m.slotCount3, kSlotCount3Width, "slotCount3");
            offsets(m.exactReferenceSlots, m.width);
            flagged(m.inlineArraySlots, m.width);
        }
        writeSectionCount(m_image.strings);
        for (const ByteString& s : m_image.strings.items)
            name(s);
        m_out.insert(m_out.end(), m_image.code.begin(), m_image.code.end());
        return std::move(m_out);
    }

private:
    static uint32_t count(size_t size, uint32_t emptyCount)
    {
        if (size > 0x7FFFFFFF) throw ImageError("list too long");
        return size == 0 ? emptyCount : static_cast<uint32_t>(size);
    }

    template <class T> void writeSectionCount(const Section<T>& section)
    {
        u32(count(section.items.size(), section.emptyCount));
    }

    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }

    void sized(uint32_t v, int w)
    {
        for (int i = 0; i < w; ++i)
            m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }

    void value(uint32_t v, WidthKind kind, const char* what)
    {
        const int w = m_image.widths[kind];
        if (!fitsWidth(v, w))
            throw ImageError(std::string(what) + " " + std::to_string(v) + " does not fit in " +
                             std::to_string(w) + " byte(s)");
        sized(v, w);
    }

    void offsetWidth(uint8_t w)
    {
        if (!isValidWidth(w))
            throw ImageError("offset width " + std::to_string(w) + " is not 1, 2 or 4");
        m_out.push_back(w);
    }

    void offsets(const OffsetList& list, int w)
    {
        u32(count(list.values.size(), list.emptyCount));
        for (uint32_t v : list.values) {
            if (!fitsWidth(v, w))
                throw ImageError("offset " + std::to_string(v) + " does not fit in " +
                                 std::to_string(w) + " byte(s)");
            sized(v, w);
        }
    }

    void flagged(const FlaggedList& list, int w)
    {
        u32(count(list.values.size(), list.emptyCount));
        for (const FlaggedOffset& v : list.values) {
            m_out.push_back(v.flag);
            if (!fitsWidth(v.offset, w))
                throw ImageError("offset " + std::to_string(v.offset) + " does not fit in " +
                                 std::to_string(w) + " byte(s)");
            sized(v.offset, w);
        }
    }

    void name(const ByteString& s)
    {
        u32(count(s.bytes.size(), s.emptyCount));
        m_out.insert(m_out.end(), s.bytes.begin(), s.bytes.end());
    }

    const Image& m_image;
    std::vector<uint8_t> m_out;
};

} // namespace

std::vector<uint8_t> writeImageBody(const Image& image)
{
    return Writer(image).body();
}

std::vector<uint8_t> writeImage(const Image& image)
{
    if (image.identity.size() > 255) throw ImageError("identity longer than 255 bytes");
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>(image.identity.size()));
    out.insert(out.end(), image.identity.begin(), image.identity.end());
    const std::vector<uint8_t> body = writeImageBody(image);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::array<uint8_t, 20> deriveIdentity(const std::vector<uint8_t>& body)
{
    const QByteArray hash = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(body.data()), qsizetype(body.size())),
        QCryptographicHash::Sha1);
    std::array<uint8_t, 20> identity{};
    for (int i = 0; i < 20; ++i)
        identity[i] = static_cast<uint8_t>(hash[i]);
    return identity;
}

} // namespace zelmo::image
