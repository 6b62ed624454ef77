// SPDX-License-Identifier: MIT
// The disassembler walks the code exactly as the loader copies it (an opcode byte, then the
// operand bytes of its table row; bytes that are not opcodes stand alone), so that labels
// land on the same instruction boundaries the machine sees.
#include "image/Disassembler.h"

#include "VirtualMachine/NativeCatalog.h"
#include "VirtualMachine/Opcodes.h"
#include "image/Names.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>

namespace zelmo::image {

namespace {

// Length of a well-formed UTF-8 sequence at s[i] for a code point of U+00A0 or above, else 0.
size_t printableUtf8(std::string_view s, size_t i)
{
    const auto b = [&](size_t k) { return static_cast<uint8_t>(s[i + k]); };
    const uint8_t lead = b(0);
    size_t n = 0;
    uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    const uint32_t minimum = n == 2 ? 0xA0 : n == 3 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

std::string hexByte(uint8_t b)
{
    static const char* digits = "0123456789abcdef";
    return std::string{digits[b >> 4], digits[b & 15]};
}

int32_t s32(const std::vector<uint8_t>& code, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t{code[at + i]} << (8 * i);
    return static_cast<int32_t>(v);
}

int16_t s16(const std::vector<uint8_t>& code, size_t at)
{
    return static_cast<int16_t>(code[at] | (code[at + 1] << 8));
}

class Disassembler {
public:
    explicit Disassembler(const Image& image) : m_image(image) {}

    std::string run()
    {
        decode();
        nameLabels();
        header();
        frames();
        classes();
        strings();
        functions();
        selectors();
        code();
        return std::move(m_out);
    }

private:
    struct Instruction {
        size_t address;
        int opcode;    // -1: raw bytes
        size_t length; // bytes, opcode included
    };

    void line(const std::string& text) { m_out += text + "\n"; }

    // ---- code walk and labels

    void decode()
    {
        const std::vector<uint8_t>& code = m_image.code;
        size_t at = 0;
        while (at < code.size()) {
            const OpInfo& info = kOpInfo[code[at]];
            const size_t size = size_t(info.size());
            if (!info.valid()) {
                m_instructions.push_back({at, -1, 1});
                ++at;
            } else if (at + size > code.size()) {
                m_instructions.push_back({at, -1, code.size() - at}); // partial instruction
                at = code.size();
            } else {
                m_instructions.push_back({at, code[at], size});
                at += size;
            }
        }
        for (const Instruction& i : m_instructions)
            m_boundaries.insert(int64_t(i.address));
        m_boundaries.insert(int64_t(code.size())); // a label may follow the last instruction
    }

    bool labelable(int64_t address) const { return m_boundaries.count(address) != 0; }

    void want(int64_t address, const std::string& preferred)
    {
        if (!labelable(address) || m_labels.count(address)) return;
        std::string name = preferred;
        if (name.empty() || m_usedLabels.count(name))
            name = (name.empty() ? "L" : name + "_") + std::to_string(address);
        m_usedLabels.insert(name);
        m_labels[address] = name;
    }

    static std::string identifierFor(std::string_view text)
    {
        std::string id;
        for (char c : text) {
            if (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 128)
                id += c;
            else if (!id.empty() && id.back() != '_')
                id += '_';
        }
        while (!id.empty() && id.back() == '_')
            id.pop_back();
        if (!id.empty() && std::isdigit(static_cast<unsigned char>(id[0]))) id = "_" + id;
        if (id.size() > 40) id.resize(40);
        return id;
    }

    void nameLabels()
    {
        for (const Function& f : m_image.functions.items) {
            std::string signature;
            std::vector<int> depths;
            splitDepths(f.name.bytes, signature, depths);
            // Entry points take their alias ("keypressed"), others their signature's words.
            const std::string shown = name(f.name);
            want(int64_t(f.codeAddress),
                 shown[0] == '@' ? shown.substr(1, shown.find('(') - 1) : identifierFor(signature));
        }
        for (const Selector& s : m_image.selectors.items) {
            std::string signature;
            std::vector<int> depths;
            splitDepths(s.name.bytes, signature, depths);
            for (size_t k = 0; k < s.implementations.size(); ++k) {
                const Implementation& i = s.implementations[k];
                const std::string base = identifierFor(signature);
                const std::string owner = i.classId < m_image.classes.items.size()
                                              ? "c" + std::to_string(i.classId) + "_"
                                              : std::string();
                want(int64_t(i.codeAddress), base.empty() ? "" : owner + base);
            }
        }
        for (const Instruction& i : m_instructions)
            if (int64_t t = target(i); t != kNoTarget) want(t, "");
    }

    static constexpr int64_t kNoTarget = INT64_MIN;

    // The code address an instruction refers to, if any.
    int64_t target(const Instruction& i) const
    {
        if (i.opcode < 0) return kNoTarget;
        const auto& code = m_image.code;
        const int64_t op = int64_t(i.address);
        switch (kOpInfo[i.opcode].operands) {
        case Operands::Branch16:
            return op + 2 + s16(code, i.address + 1);
        case Operands::Branch32:
            return op + 4 + s32(code, i.address + 1);
        case Operands::Call:
            return s32(code, i.address + 1);
        case Operands::Try:
            return op + 9 + s32(code, i.address + 5);
        default:
            return kNoTarget;
        }
    }

    // A label for the address, or the raw number.
    std::string codeRef(int64_t address, int64_t raw) const
    {
        auto it = m_labels.find(address);
        return it != m_labels.end() ? it->second : std::to_string(raw);
    }

    // ---- symbolic operands

    std::string name(const ByteString& s) const
    {
        if (s.bytes.empty() && s.emptyCount != 0)
            return "empty(" + std::to_string(int32_t(s.emptyCount)) + ")";
        std::string signature;
        std::vector<int> depths;
        splitDepths(s.bytes, signature, depths);
        for (const FixedSignature& f : fixedSignatures()) {
            if (signature != f.signature || depths.size() != f.defaultDepths.size()) continue;
            if (applyDepths(signature, depths) != s.bytes) break;
            if (depths == f.defaultDepths) return std::string("@") + f.alias;
            std::string text = std::string("@") + f.alias + "(";
            for (size_t k = 0; k < depths.size(); ++k)
                text += (k ? "," : "") + std::to_string(depths[k]);
            return text + ")";
        }
        return quoteBytes(s.bytes);
    }

    std::string frameRef(uint32_t index) const
    {
        if (index < m_image.methodInfos.items.size()) return "f" + std::to_string(index);
        if (index == 0xFFFFFFFF) return "none";
        return std::to_string(index);
    }

    std::string classRef(int64_t id) const
    {
        if (id >= 0 && id < int64_t(m_image.classes.items.size())) return "c" + std::to_string(id);
        return std::to_string(id);
    }

    std::string selectorRef(int32_t n) const
    {
        const auto& items = m_image.selectors.items;
        if (n < 0 || size_t(n) >= items.size()) return std::to_string(n);
        for (int32_t k = 0; k < n; ++k)
            if (items[k].name.bytes == items[n].name.bytes)
                return std::to_string(n); // the name would find the earlier selector
        return name(ByteString{items[n].name.bytes, 0});
    }

    std::string stringRef(int32_t n) const
    {
        const auto& items = m_image.strings.items;
        if (n < 0 || size_t(n) >= items.size()) return std::to_string(n);
        for (int32_t k = 0; k < n; ++k)
            if (items[k].bytes == items[n].bytes) return std::to_string(n);
        return quoteBytes(items[n].bytes);
    }

    // Group.operation when the catalog knows both, else the group's name (or number) and the
    // operation byte.
    static std::string nativeCall(int groupNumber, int operation)
    {
        const NativeGroup* group = nativeGroup(groupNumber);
        if (!group) return std::to_string(groupNumber) + ", " + std::to_string(uint8_t(operation));
        if (const NativeOperation* op = group->operation(operation))
            return std::string(group->name) + "." + std::string(op->name);
        return std::string(group->name) + ", " + std::to_string(uint8_t(operation));
    }

    static std::string named(const std::vector<NamedNumber>& table, int number)
    {
        const char* n = nameForNumber(table, number);
        return n ? n : std::to_string(number);
    }

    static std::string offsets(const OffsetList& list)
    {
        if (list.values.empty()) return "empty(" + std::to_string(int32_t(list.emptyCount)) + ")";
        std::string text;
        for (size_t k = 0; k < list.values.size(); ++k)
            text += (k ? "," : "") + std::to_string(list.values[k]);
        return text;
    }

    static std::string flagged(const FlaggedList& list)
    {
        if (list.values.empty()) return "empty(" + std::to_string(int32_t(list.emptyCount)) + ")";
        std::string text;
        for (size_t k = 0; k < list.values.size(); ++k)
            text += (k ? "," : "") + std::to_string(list.values[k].offset) +
                    (list.values[k].flag ? "*" : "");
        return text;
    }

    static void addList(std::string& text, const char* key, const OffsetList& list)
    {
        if (!list.values.empty() || list.emptyCount != 0)
            text += std::string(" ") + key + "=" + offsets(list);
    }
    static void addList(std::string& text, const char* key, const FlaggedList& list)
    {
        if (!list.values.empty() || list.emptyCount != 0)
            text += std::string(" ") + key + "=" + flagged(list);
    }

    // ---- sections

    void header()
    {
        line("; zelmo-dis listing: " + std::to_string(m_image.code.size()) + " code bytes, " +
             std::to_string(m_image.functions.items.size()) + " functions, " +
             std::to_string(m_image.selectors.items.size()) + " selectors, " +
             std::to_string(m_image.classes.items.size()) + " classes, " +
             std::to_string(m_image.methodInfos.items.size()) + " method infos, " +
             std::to_string(m_image.strings.items.size()) + " strings");
        std::string id;
        for (uint8_t b : m_image.identity)
            id += hexByte(b);
        line(".identity " + id);
        if (m_image.marker[0] != 0xFF || m_image.marker[1] != 0xFF)
            line(".marker " + std::to_string(m_image.marker[0]) + ", " +
                 std::to_string(m_image.marker[1]));
        std::string widths = ".widths";
        for (int k = 0; k < kWidthCount; ++k)
            widths += std::string(" ") + kWidthNames[k] + "=" + std::to_string(m_image.widths[k]);
        line(widths);
        line(".globals " + std::to_string(m_image.globalWords));
        auto count = [this](const char* section, uint32_t n) {
            if (n != 0) line(std::string(".count ") + section + " " + std::to_string(int32_t(n)));
        };
        count("functions", m_image.functions.emptyCount);
        count("selectors", m_image.selectors.emptyCount);
        count("classes", m_image.classes.emptyCount);
        count("frames", m_image.methodInfos.emptyCount);
        count("strings", m_image.strings.emptyCount);
    }

    void frames()
    {
        if (m_image.methodInfos.items.empty()) return;
        line("");
        line("; method infos (frames): slots = slotCount1, slotCount2, slotCount3");
        for (size_t k = 0; k < m_image.methodInfos.items.size(); ++k) {
            const MethodInfo& m = m_image.methodInfos.items[k];
            std::string text = ".frame f" + std::to_string(k) +
                               " slots=" + std::to_string(m.slotCount1) + "," +
                               std::to_string(m.slotCount2) + "," + std::to_string(m.slotCount3);
            addList(text, "refs", m.conservativeReferenceSlots);
            addList(text, "arrays", m.arrayPointerSlots);
            addList(text, "exact", m.exactReferenceSlots);
            addList(text, "inline", m.inlineArraySlots);
            line(text + " width=" + std::to_string(m.width));
        }
    }

    void classes()
    {
        if (m_image.classes.items.empty()) return;
        line("");
        line("; classes (image class ids from 0)");
        for (size_t k = 0; k < m_image.classes.items.size(); ++k) {
            const ClassRecord& c = m_image.classes.items[k];
            std::string text = ".class c" + std::to_string(k);
            if (c.hasParent != 0) {
                text += " parent=" + classRef(c.parent);
                if (c.hasParent != 1) text += " hasparent=" + std::to_string(c.hasParent);
            }
            addList(text, "refs", c.referenceFields);
            addList(text, "arrays", c.arrayFields);
            addList(text, "skip", c.discardedIds);
            line(text + " width=" + std::to_string(c.width));
        }
    }

    void strings()
    {
        if (m_image.strings.items.empty()) return;
        line("");
        line("; strings");
        for (size_t k = 0; k < m_image.strings.items.size(); ++k) {
            const ByteString& s = m_image.strings.items[k];
            line(".string " +
                 (s.emptyCount != 0 && s.bytes.empty() ? name(s) : quoteBytes(s.bytes)) + "  ; " +
                 std::to_string(k));
        }
    }

    void functions()
    {
        if (m_image.functions.items.empty()) return;
        line("");
        line("; functions");
        for (const Function& f : m_image.functions.items)
            line(".function " + name(f.name) + " " +
                 codeRef(int64_t(f.codeAddress), int64_t(f.codeAddress)) +
                 " info=" + frameRef(f.gcInfoIndex));
    }

    void selectors()
    {
        if (m_image.selectors.items.empty()) return;
        line("");
        line("; selectors");
        for (size_t k = 0; k < m_image.selectors.items.size(); ++k) {
            const Selector& s = m_image.selectors.items[k];
            std::string text = ".selector " + name(s.name);
            if (s.implementations.empty() && s.emptyCount != 0)
                text += " count=" + std::to_string(int32_t(s.emptyCount));
            line(text + "  ; " + std::to_string(k));
            for (const Implementation& i : s.implementations)
                line("    .impl " + classRef(int64_t(i.classId)) + " " +
                     codeRef(int64_t(i.codeAddress), int64_t(i.codeAddress)) +
                     " info=" + frameRef(i.gcInfoIndex));
        }
    }

    std::string operands(const Instruction& i) const
    {
        const auto& code = m_image.code;
        const size_t at = i.address + 1;
        const int64_t op = int64_t(i.address);
        const OpInfo& info = kOpInfo[i.opcode];
        const auto i8 = [&](size_t k) { return std::to_string(int8_t(code[at + k])); };
        const auto u8 = [&](size_t k) { return int(code[at + k]); };
        switch (info.operands) {
        case Operands::None:
            return "";
        case Operands::I8:
            return i8(0);
        case Operands::I32: {
            const int32_t v = s32(code, at);
            if (info.reloc == Reloc::Selector) return selectorRef(v);
            if (info.reloc == Reloc::String) return stringRef(v);
            if (info.reloc == Reloc::Class) return classRef(v);
            return std::to_string(v);
        }
        case Operands::Branch16: {
            const int16_t d = s16(code, at);
            return codeRef(op + 2 + d, d);
        }
        case Operands::Branch32: {
            const int32_t d = s32(code, at);
            return codeRef(op + 4 + d, d);
        }
        case Operands::Call: {
            const int32_t addr = s32(code, at);
            return codeRef(addr, addr) + ", " + frameRef(uint32_t(s32(code, at + 4)));
        }
        case Operands::I32I32:
            return std::to_string(s32(code, at)) + ", " + std::to_string(s32(code, at + 4));
        case Operands::U8I32:
            return named(gcCodes(), u8(0)) + ", " + std::to_string(s32(code, at + 1));
        case Operands::U8U8:
            if (i.opcode == int(Op::NATIVE)) return nativeCall(u8(0), int8_t(code[at + 1]));
            return std::to_string(u8(0)) + ", " + std::to_string(u8(1));
        case Operands::I8I8:
            return (i.opcode == int(Op::EXTCALL) ? named(extensions(), int8_t(code[at])) : i8(0)) +
                   ", " + i8(1);
        case Operands::Bytes8: {
            uint64_t v = 0;
            for (int k = 0; k < 8; ++k)
                v |= uint64_t{code[at + k]} << (8 * k);
            return std::to_string(int64_t(v));
        }
        case Operands::U8I32I8:
            return named(gcCodes(), u8(0)) + ", " + std::to_string(s32(code, at + 1)) + ", " +
                   std::to_string(int8_t(code[at + 5]));
        case Operands::Try: {
            const int32_t d = s32(code, at + 4);
            return classRef(s32(code, at)) + ", " + codeRef(op + 9 + d, d);
        }
        }
        return "";
    }

    void code()
    {
        line("");
        line("; code");
        for (const Instruction& i : m_instructions) {
            if (auto it = m_labels.find(int64_t(i.address)); it != m_labels.end())
                line(it->second + ":");
            std::string text;
            if (i.opcode < 0) {
                text = ".byte ";
                for (size_t k = 0; k < i.length; ++k)
                    text += (k ? ", " : "") + std::to_string(m_image.code[i.address + k]);
                text += i.length == 1 ? "  ; not an opcode" : "  ; incomplete instruction";
            } else {
                text = std::string(kOpInfo[i.opcode].mnemonic);
                const std::string ops = operands(i);
                if (!ops.empty()) text += " " + ops;
            }
            text = "    " + text;
            if (text.size() < 44) text.append(44 - text.size(), ' ');
            line(text + " ; " + std::to_string(i.address));
        }
        if (auto it = m_labels.find(int64_t(m_image.code.size())); it != m_labels.end())
            line(it->second + ":");
    }

    const Image& m_image;
    std::string m_out;
    std::vector<Instruction> m_instructions;
    std::set<int64_t> m_boundaries;
    std::map<int64_t, std::string> m_labels;
    std::set<std::string> m_usedLabels;
};

} // namespace

std::string quoteBytes(std::string_view bytes)
{
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(bytes[i]);
        switch (c) {
        case '\n':
            out += "\\n";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '"':
            out += "\\\"";
            continue;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (size_t n = c >= 0x80 ? printableUtf8(bytes, i) : 0; n > 0) {
            out.append(bytes.substr(i, n));
            i += n - 1;
        } else {
            out += "\\x" + hexByte(c);
        }
    }
    return out + "\"";
}

std::string disassemble(const Image& image)
{
    return Disassembler(image).run();
}

} // namespace zelmo::image
