// SPDX-License-Identifier: MIT
// Two passes over the source: the first fixes every label's code address (instruction sizes
// come from the opcode table alone) and numbers the classes, method infos, strings and
// selectors in declaration order; the second builds the tables and emits the code.
#include "image/Assembler.h"

#include "VirtualMachine/NativeCatalog.h"
#include "VirtualMachine/Opcodes.h"
#include "image/ImageWriter.h"
#include "image/Lexer.h"
#include "image/Names.h"
#include "image/SourceExpander.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace zelmo::image {

namespace {

struct Statement {
    int line = 0;
    std::vector<Token> tokens;
    size_t first = 0; // first token after the labels
    std::string raw;
    int64_t address = 0;
    int opcode = -1;
};

// A value that must fit a header width once the widths are known.
struct WidthUse {
    int line;
    WidthKind kind;
    uint32_t value;
    const char* what;
};

class Cursor {
public:
    Cursor(const std::vector<Token>& tokens, size_t i) : m_tokens(tokens), m_i(i) {}
    const Token& peek(size_t ahead = 0) const
    {
        return m_tokens[std::min(m_i + ahead, m_tokens.size() - 1)];
    }
    const Token& next()
    {
        const Token& t = peek();
        if (m_i < m_tokens.size() - 1) ++m_i;
        return t;
    }
    bool atEnd() const { return peek().kind == Token::End; }
    bool isPunct(char c, size_t ahead = 0) const
    {
        return peek(ahead).kind == Token::Punct && peek(ahead).text[0] == c;
    }
    bool acceptPunct(char c)
    {
        if (!isPunct(c)) return false;
        next();
        return true;
    }

private:
    const std::vector<Token>& m_tokens;
    size_t m_i;
};

std::string describe(const Token& t)
{
    switch (t.kind) {
    case Token::Identifier:
        return "'" + t.text + "'";
    case Token::Number:
        return "number " + std::to_string(t.value);
    case Token::String:
        return "a string";
    case Token::Punct:
        return "'" + t.text + "'";
    case Token::Directive:
        return "'." + t.text + "'";
    case Token::Alias:
        return "'@" + t.text + "'";
    case Token::End:
        return "end of line";
    }
    return "?";
}

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class Assembler {
public:
    Assembler(std::string_view source, const std::string& fileName)
        : m_lines(expandSource(source, fileName)), m_file(fileName)
    {
    }

    Image run()
    {
        passOne();
        for (const Statement& s : m_statements)
            passTwo(s);
        finish();
        return std::move(m_image);
    }
    const LabelAddresses& labels() const { return m_labels; }

private:
    [[noreturn]] void error(int line, const std::string& message) const
    {
        // Lines are numbered across the expanded source; each knows where it was written.
        const bool known = line >= 1 && size_t(line) <= m_lines.size();
        throw AssemblyError(
            (known ? m_lines[size_t(line) - 1].where : m_file + ":" + std::to_string(line)) + ": " +
            message);
    }
    [[noreturn]] void unexpected(const Token& t, const std::string& wanted) const
    {
        error(m_line, "expected " + wanted + ", found " + describe(t));
    }

    // ---------------------------------------------------------------- pass one

    void passOne()
    {
        int64_t address = 0;
        int line = 0;
        for (const SourceLine& sourceLine : m_lines) {
            const std::string_view text = sourceLine.text;
            m_line = ++line;
            Statement s;
            s.line = line;
            s.raw = std::string(text);
            try {
                // The identity's hex digits are not tokens; .identity reads its raw text.
                std::string_view code = stripComment(text);
                const size_t start = code.find_first_not_of(" \t");
                if (start != std::string_view::npos && code.substr(start, 9) == ".identity" &&
                    code.size() > start + 9 && (code[start + 9] == ' ' || code[start + 9] == '\t'))
                    s.tokens = tokenizeLine(code.substr(start, 9));
                else
                    s.tokens = tokenizeLine(text);
            } catch (const LexError& e) {
                error(line, e.what());
            }
            size_t i = 0;
            while (s.tokens[i].kind == Token::Identifier && s.tokens[i + 1].kind == Token::Punct &&
                   s.tokens[i + 1].text == ":") {
                if (!m_labels.emplace(s.tokens[i].text, address).second)
                    error(line, "label '" + s.tokens[i].text + "' defined twice");
                i += 2;
            }
            s.first = i;
            s.address = address;
            const Token& head = s.tokens[i];
            if (head.kind == Token::Identifier) {
                s.opcode = opcodeForMnemonic(upper(head.text));
                if (s.opcode < 0) error(line, "unknown instruction '" + head.text + "'");
                address += kOpInfo[s.opcode].size();
            } else if (head.kind == Token::Directive) {
                address += declare(s);
            } else if (head.kind != Token::End) {
                unexpected(head, "an instruction or a directive");
            }
            if (address > INT32_MAX) error(line, "code larger than 2 GiB");
            if (s.tokens[i].kind != Token::End) m_statements.push_back(std::move(s));
        }
    }

    // Numbers the named records; returns the code bytes the directive emits.
    int64_t declare(const Statement& s)
    {
        Cursor c(s.tokens, s.first);
        const std::string directive = c.next().text;
        if (directive == "byte") return byteList(c).size();
        if (directive == "class" || directive == "frame") {
            const Token& name = c.next();
            if (name.kind != Token::Identifier) unexpected(name, "a name");
            auto& names = directive == "class" ? m_classNames : m_frameNames;
            const int index = static_cast<int>(names.size());
            if (!names.emplace(name.text, index).second)
                error(s.line, directive + " '" + name.text + "' declared twice");
        } else if (directive == "string") {
            if (c.peek().kind == Token::Identifier && c.peek().text != "empty") {
                const std::string name = c.next().text;
                if (!m_stringNames.emplace(name, int(m_image.strings.items.size())).second)
                    error(s.line, "string '" + name + "' declared twice");
            }
            ByteString text = nameLiteral(c, "a string");
            expectEnd(c);
            m_image.strings.items.push_back(std::move(text));
        } else if (directive == "selector") {
            m_selectorNames.push_back(nameLiteral(c, "a selector name").bytes);
        }
        return 0;
    }

    // ---------------------------------------------------------------- shared parsing

    void expectEnd(Cursor& c)
    {
        if (!c.atEnd()) unexpected(c.peek(), "end of line");
    }

    void expectPunct(Cursor& c, char p)
    {
        if (!c.acceptPunct(p)) unexpected(c.peek(), std::string("'") + p + "'");
    }

    int64_t number(Cursor& c, const std::string& what)
    {
        const Token& t = c.next();
        if (t.kind != Token::Number) unexpected(t, what);
        return t.value;
    }

    // Adds any "+N" / "-N" that follows a symbol.
    int64_t offsets(Cursor& c, int64_t base)
    {
        while (true) {
            if (c.isPunct('+') || c.isPunct('-')) {
                const bool minus = c.next().text == "-";
                const int64_t n = checkRange(number(c, "a number"), -(int64_t{1} << 40),
                                             int64_t{1} << 40, "offset");
                base = minus ? base - n : base + n;
            } else if (c.peek().kind == Token::Number && c.peek().signedLiteral) {
                base += checkRange(c.next().value, -(int64_t{1} << 40), int64_t{1} << 40, "offset");
            } else {
                return base;
            }
        }
    }

    int64_t labelAddress(const Token& t)
    {
        auto it = m_labels.find(t.text);
        if (it == m_labels.end()) error(m_line, "unknown label '" + t.text + "'");
        return it->second;
    }

    // A number, or a label (its code address) with optional +N/-N.
    int64_t intExpr(Cursor& c, const std::string& what)
    {
        const Token& t = c.next();
        if (t.kind == Token::Number) return t.value;
        if (t.kind == Token::Identifier) return offsets(c, labelAddress(t));
        unexpected(t, what);
    }

    int64_t checkRange(int64_t v, int64_t lo, int64_t hi, const std::string& what)
    {
        if (v < lo || v > hi)
            error(m_line, what + " " + std::to_string(v) + " is out of range (" +
                              std::to_string(lo) + ".." + std::to_string(hi) + ")");
        return v;
    }

    uint32_t field32(int64_t v, const std::string& what)
    {
        return static_cast<uint32_t>(checkRange(v, INT32_MIN, UINT32_MAX, what));
    }

    std::vector<int> depthList(Cursor& c)
    {
        std::vector<int> depths;
        if (!c.acceptPunct('(')) return depths;
        if (!c.acceptPunct(')')) {
            do {
                depths.push_back(int(checkRange(number(c, "a depth"), 0, 255, "depth")));
            } while (c.acceptPunct(','));
            expectPunct(c, ')');
        }
        return depths;
    }

    // "bytes", "signature"(depths), @alias, @alias(depths) or empty(N).
    ByteString nameLiteral(Cursor& c, const std::string& what)
    {
        ByteString s;
        const Token& t = c.next();
        if (t.kind == Token::String) {
            s.bytes = t.text;
            if (c.isPunct('(')) {
                const std::vector<int> depths = depthList(c);
                if (int(depths.size()) > depthPositions(s.bytes))
                    error(m_line, "more depths than '<' in the signature");
                s.bytes = applyDepths(s.bytes, depths);
            }
        } else if (t.kind == Token::Alias) {
            const FixedSignature* fixed = fixedSignature(t.text);
            if (!fixed) error(m_line, "unknown signature alias '@" + t.text + "'");
            std::vector<int> depths = fixed->defaultDepths;
            if (c.isPunct('(')) {
                depths = depthList(c);
                if (depths.size() != fixed->defaultDepths.size())
                    error(m_line, "@" + t.text + " takes " +
                                      std::to_string(fixed->defaultDepths.size()) + " depth(s)");
            }
            s.bytes = applyDepths(fixed->signature, depths);
        } else if (t.kind == Token::Identifier && t.text == "empty") {
            s.emptyCount = emptyCount(c);
        } else {
            unexpected(t, what);
        }
        return s;
    }

    // "(N)" after "empty": a negative count standing for an empty list.
    uint32_t emptyCount(Cursor& c)
    {
        expectPunct(c, '(');
        const int64_t n = number(c, "a negative count");
        expectPunct(c, ')');
        // Either spelling of a count with the top bit set: -1 or 0xFFFFFFFF.
        const bool negative = n >= INT32_MIN && n < 0;
        const bool topBitSet = n >= 0x80000000LL && n <= UINT32_MAX;
        if (!negative && !topBitSet) error(m_line, "empty() takes a negative count");
        return static_cast<uint32_t>(n);
    }

    std::string byteList(Cursor& c)
    {
        std::string bytes;
        if (c.atEnd()) return bytes;
        do {
            const Token& t = c.next();
            if (t.kind == Token::String)
                bytes += t.text;
            else if (t.kind == Token::Number)
                bytes += static_cast<char>(checkRange(t.value, -128, 255, "byte"));
            else
                unexpected(t, "a byte value or a string");
        } while (c.acceptPunct(','));
        expectEnd(c);
        return bytes;
    }

    OffsetList offsetList(Cursor& c)
    {
        OffsetList list;
        if (c.peek().kind == Token::Identifier && c.peek().text == "empty" && c.isPunct('(', 1)) {
            c.next();
            list.emptyCount = emptyCount(c);
            return list;
        }
        if (c.peek().kind != Token::Number) return list;
        do {
            list.values.push_back(field32(number(c, "an offset"), "offset"));
        } while (c.acceptPunct(','));
        return list;
    }

    FlaggedList flaggedList(Cursor& c)
    {
        FlaggedList list;
        if (c.peek().kind == Token::Identifier && c.peek().text == "empty" && c.isPunct('(', 1)) {
            c.next();
            list.emptyCount = emptyCount(c);
            return list;
        }
        if (c.peek().kind != Token::Number) return list;
        do {
            FlaggedOffset v;
            v.offset = field32(number(c, "an offset"), "offset");
            v.flag = c.acceptPunct('*') ? 0xFF : 0;
            list.values.push_back(v);
        } while (c.acceptPunct(','));
        return list;
    }

    int64_t classRef(Cursor& c)
    {
        const Token& t = c.next();
        if (t.kind == Token::Number) return t.value;
        if (t.kind != Token::Identifier) unexpected(t, "a class");
        auto it = m_classNames.find(t.text);
        if (it == m_classNames.end()) error(m_line, "unknown class '" + t.text + "'");
        return it->second;
    }

    int64_t frameRef(Cursor& c)
    {
        const Token& t = c.next();
        if (t.kind == Token::Number) return t.value;
        if (t.kind != Token::Identifier) unexpected(t, "a method info");
        auto it = m_frameNames.find(t.text);
        if (it != m_frameNames.end()) return it->second;
        if (t.text == "none") return -1;
        error(m_line, "unknown method info '" + t.text + "'");
    }

    uint8_t offsetWidth(Cursor& c)
    {
        const int64_t w = number(c, "a width");
        if (!isValidWidth(int(w)) || w > 4) error(m_line, "width must be 1, 2 or 4");
        return static_cast<uint8_t>(w);
    }

    // key=value pairs until the end of the line.
    template <class F> void keyValues(Cursor& c, F handler)
    {
        while (!c.atEnd()) {
            const Token& key = c.next();
            if (key.kind != Token::Identifier) unexpected(key, "key=value");
            expectPunct(c, '=');
            if (!handler(key.text)) error(m_line, "unknown key '" + key.text + "'");
        }
    }

    void use(WidthKind kind, uint32_t value, const char* what)
    {
        m_widthUses.push_back({m_line, kind, value, what});
    }

    // The method-info index of "info=": when absent, a shared empty frame made at the end.
    uint32_t infoOrDefault(std::optional<int64_t> info)
    {
        if (info) return field32(*info, "method-info index");
        m_needEmptyFrame = true;
        return static_cast<uint32_t>(m_frameNames.size());
    }

    // ---------------------------------------------------------------- pass two

    void passTwo(const Statement& s)
    {
        m_line = s.line;
        Cursor c(s.tokens, s.first);
        if (s.opcode >= 0) {
            c.next();
            instruction(c, s);
            return;
        }
        const std::string directive = c.next().text;
        if (directive == "identity") {
            identity(s);
        } else if (directive == "marker") {
            for (uint8_t& b : m_image.marker) {
                b = static_cast<uint8_t>(checkRange(number(c, "a byte"), 0, 255, "marker byte"));
                c.acceptPunct(',');
            }
            expectEnd(c);
        } else if (directive == "widths") {
            keyValues(c, [&](const std::string& key) {
                auto it = std::find_if(kWidthNames.begin(), kWidthNames.end(),
                                       [&](const char* n) { return key == n; });
                if (it == kWidthNames.end()) return false;
                const int k = int(it - kWidthNames.begin());
                if (c.peek().kind == Token::Identifier && c.peek().text == "auto") {
                    c.next();
                    m_image.widths[k] = 0;
                } else {
                    m_image.widths[k] = offsetWidth(c);
                }
                return true;
            });
        } else if (directive == "globals") {
            m_image.globalWords =
                static_cast<int32_t>(field32(number(c, "a word count"), "globals"));
            expectEnd(c);
        } else if (directive == "count") {
            count(c);
        } else if (directive == "function") {
            function(c);
        } else if (directive == "selector") {
            selector(c);
        } else if (directive == "impl") {
            implementation(c);
        } else if (directive == "class") {
            classRecord(c);
        } else if (directive == "frame") {
            frame(c);
        } else if (directive == "string") {
            // Recorded in pass one.
        } else if (directive == "byte") {
            const std::string bytes = byteList(c);
            m_image.code.insert(m_image.code.end(), bytes.begin(), bytes.end());
        } else {
            error(m_line, "unknown directive '." + directive + "'");
        }
    }

    void identity(const Statement& s)
    {
        std::string_view text = stripComment(s.raw);
        text.remove_prefix(text.find(".identity") + 9);
        std::string hex;
        for (char ch : text)
            if (!std::isspace(static_cast<unsigned char>(ch))) hex += ch;
        if (hex == "auto") {
            m_autoIdentity = true;
            return;
        }
        if (hex.size() % 2 != 0 || hex.size() > 510 ||
            !std::all_of(hex.begin(), hex.end(),
                         [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)); }))
            error(m_line, ".identity takes 'auto' or an even number of hex digits");
        m_autoIdentity = false;
        m_image.identity.clear();
        for (size_t i = 0; i < hex.size(); i += 2)
            m_image.identity.push_back(
                static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }

    void count(Cursor& c)
    {
        const Token& section = c.next();
        const uint32_t n = static_cast<uint32_t>(
            checkRange(number(c, "a negative count"), INT32_MIN, -1, "section count"));
        expectEnd(c);
        const std::string& name = section.text;
        if (name == "functions")
            m_image.functions.emptyCount = n;
        else if (name == "selectors")
            m_image.selectors.emptyCount = n;
        else if (name == "classes")
            m_image.classes.emptyCount = n;
        else if (name == "frames")
            m_image.methodInfos.emptyCount = n;
        else if (name == "strings")
            m_image.strings.emptyCount = n;
        else
            unexpected(section, "functions, selectors, classes, frames or strings");
        m_countLines.push_back(m_line);
    }

    void function(Cursor& c)
    {
        Function f;
        f.name = nameLiteral(c, "a function name");
        f.codeAddress = field32(intExpr(c, "a code label or address"), "code address");
        std::optional<int64_t> info;
        keyValues(c, [&](const std::string& key) {
            if (key != "info") return false;
            info = frameRef(c);
            return true;
        });
        f.gcInfoIndex = infoOrDefault(info);
        use(kCodeAddressWidth, f.codeAddress, "code address");
        use(kGcInfoIndexWidth, f.gcInfoIndex, "method-info index");
        m_image.functions.items.push_back(std::move(f));
    }

    void selector(Cursor& c)
    {
        Selector s;
        s.name = nameLiteral(c, "a selector name");
        keyValues(c, [&](const std::string& key) {
            if (key != "count") return false;
            s.emptyCount = static_cast<uint32_t>(
                checkRange(number(c, "a negative count"), INT32_MIN, -1, "count"));
            return true;
        });
        m_image.selectors.items.push_back(std::move(s));
        m_selectorLines.push_back(m_line);
    }

    void implementation(Cursor& c)
    {
        if (m_image.selectors.items.empty()) error(m_line, ".impl before any .selector");
        Implementation i;
        i.classId = field32(classRef(c), "class id");
        i.codeAddress = field32(intExpr(c, "a code label or address"), "code address");
        std::optional<int64_t> info;
        keyValues(c, [&](const std::string& key) {
            if (key != "info") return false;
            info = frameRef(c);
            return true;
        });
        i.gcInfoIndex = infoOrDefault(info);
        use(kClassIdWidth, i.classId, "class id");
        use(kCodeAddressWidth, i.codeAddress, "code address");
        use(kGcInfoIndexWidth, i.gcInfoIndex, "method-info index");
        m_image.selectors.items.back().implementations.push_back(i);
    }

    void classRecord(Cursor& c)
    {
        c.next(); // the name, numbered in pass one
        ClassRecord r;
        std::optional<uint32_t> hasParent;
        std::optional<uint32_t> parent;
        keyValues(c, [&](const std::string& key) {
            if (key == "parent")
                parent = field32(classRef(c), "parent class id");
            else if (key == "hasparent")
                hasParent = field32(number(c, "a flag value"), "has-parent flag");
            else if (key == "refs")
                r.referenceFields = offsetList(c);
            else if (key == "arrays")
                r.arrayFields = flaggedList(c);
            else if (key == "skip")
                r.discardedIds = offsetList(c);
            else if (key == "width")
                r.width = offsetWidth(c);
            else
                return false;
            return true;
        });
        r.hasParent = hasParent.value_or(parent ? 1 : 0);
        if (r.hasParent != 0 && !parent) error(m_line, "hasparent is set but no parent is given");
        if (r.hasParent == 0 && parent) error(m_line, "a parent needs a non-zero hasparent");
        r.parent = parent.value_or(0);
        use(kHasSuperWidth, r.hasParent, "has-parent flag");
        if (r.hasParent != 0) use(kClassIdWidth, r.parent, "parent class id");
        use(kSkipListCountWidth,
            r.discardedIds.values.empty() ? r.discardedIds.emptyCount
                                          : uint32_t(r.discardedIds.values.size()),
            "discarded id count");
        for (uint32_t id : r.discardedIds.values)
            use(kClassIdWidth, id, "discarded class id");
        checkOffsets(r.width, r.referenceFields, r.arrayFields);
        m_image.classes.items.push_back(std::move(r));
    }

    void frame(Cursor& c)
    {
        c.next(); // the name, numbered in pass one
        MethodInfo m;
        keyValues(c, [&](const std::string& key) {
            if (key == "slots") {
                m.slotCount1 = field32(number(c, "slotCount1"), "slotCount1");
                expectPunct(c, ',');
                m.slotCount2 = field32(number(c, "slotCount2"), "slotCount2");
                expectPunct(c, ',');
                m.slotCount3 = field32(number(c, "slotCount3"), "slotCount3");
            } else if (key == "params") {
                m.slotCount1 = field32(number(c, "a slot count"), "params");
            } else if (key == "locals") {
                m.slotCount3 = field32(number(c, "a slot count"), "locals");
            } else if (key == "refs") {
                m.conservativeReferenceSlots = offsetList(c);
            } else if (key == "arrays") {
                m.arrayPointerSlots = flaggedList(c);
            } else if (key == "exact") {
                m.exactReferenceSlots = offsetList(c);
            } else if (key == "inline") {
                m.inlineArraySlots = flaggedList(c);
            } else if (key == "width") {
                m.width = offsetWidth(c);
            } else {
                return false;
            }
            return true;
        });
        use(kSlotCount1Width, m.slotCount1, "slotCount1");
        use(kSlotCount2Width, m.slotCount2, "slotCount2");
        use(kSlotCount3Width, m.slotCount3, "slotCount3");
        checkOffsets(m.width, m.conservativeReferenceSlots, m.arrayPointerSlots);
        checkOffsets(m.width, m.exactReferenceSlots, m.inlineArraySlots);
        m_image.methodInfos.items.push_back(std::move(m));
    }

    void checkOffsets(int width, const OffsetList& a, const FlaggedList& b)
    {
        if (width == 0) return;
        for (uint32_t v : a.values)
            if (!fitsWidth(v, width))
                error(m_line, "offset " + std::to_string(v) + " does not fit width " +
                                  std::to_string(width));
        for (const FlaggedOffset& v : b.values)
            if (!fitsWidth(v.offset, width))
                error(m_line, "offset " + std::to_string(v.offset) + " does not fit width " +
                                  std::to_string(width));
    }

    // ---------------------------------------------------------------- instructions

    void emit8(int64_t v) { m_image.code.push_back(static_cast<uint8_t>(v)); }
    void emit16(int64_t v)
    {
        emit8(v);
        emit8(v >> 8);
    }
    void emit32(int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            emit8(v >> (8 * i));
    }

    int64_t i8(Cursor& c, const std::string& what)
    {
        return checkRange(intExpr(c, what), -128, 255, what);
    }
    int64_t i32(Cursor& c, const std::string& what)
    {
        return checkRange(intExpr(c, what), INT32_MIN, UINT32_MAX, what);
    }

    int64_t named(Cursor& c, const std::vector<NamedNumber>& table, const std::string& what)
    {
        if (c.peek().kind == Token::Identifier) {
            const Token& t = c.next();
            if (auto n = numberForName(table, t.text)) return *n;
            error(m_line, "unknown " + what + " '" + t.text + "'");
        }
        return checkRange(number(c, what), -128, 255, what);
    }

    // NATIVE Group.operation, or a group (name or number) and an operation number.
    void nativeOperands(Cursor& c)
    {
        if (c.peek().kind == Token::Identifier) {
            const std::string& text = c.peek().text;
            const size_t dot = text.find('.');
            const NativeGroup* group = nativeGroup(std::string_view(text).substr(0, dot));
            if (!group) error(m_line, "unknown native group '" + text.substr(0, dot) + "'");
            c.next();
            emit8(group->number);
            if (dot != std::string::npos) {
                const std::string name = text.substr(dot + 1);
                const NativeOperation* op = group->operation(name);
                if (!op)
                    error(m_line, "unknown operation '" + name + "' of native group " +
                                      std::string(group->name));
                emit8(op->number);
                return;
            }
        } else {
            emit8(checkRange(number(c, "native group"), -128, 255, "native group"));
        }
        expectPunct(c, ',');
        emit8(i8(c, "operand"));
    }

    // A branch target: a label (with +N/-N) gives the distance from `from`, a number is the
    // distance itself.
    // Raw distances may use the unsigned spelling of their bytes; a label must be in reach.
    int64_t distance(Cursor& c, int64_t from, int bytes)
    {
        const int64_t lowest = bytes == 2 ? INT16_MIN : INT32_MIN;
        const Token& t = c.next();
        if (t.kind == Token::Number)
            return checkRange(t.value, lowest, bytes == 2 ? UINT16_MAX : UINT32_MAX,
                              "branch distance");
        if (t.kind != Token::Identifier) unexpected(t, "a label or a distance");
        return checkRange(offsets(c, labelAddress(t)) - from, lowest,
                          bytes == 2 ? INT16_MAX : INT32_MAX, "branch distance");
    }

    int64_t selectorRef(Cursor& c)
    {
        if (c.peek().kind == Token::Number) return number(c, "a selector");
        const std::string name = nameLiteral(c, "a selector name or number").bytes;
        auto it = std::find(m_selectorNames.begin(), m_selectorNames.end(), name);
        if (it == m_selectorNames.end()) error(m_line, "no selector named \"" + name + "\"");
        return it - m_selectorNames.begin();
    }

    int64_t stringRef(Cursor& c)
    {
        const Token& t = c.next();
        if (t.kind == Token::Number) return t.value;
        if (t.kind == Token::Identifier) {
            auto it = m_stringNames.find(t.text);
            if (it == m_stringNames.end()) error(m_line, "unknown string '" + t.text + "'");
            return it->second;
        }
        if (t.kind != Token::String) unexpected(t, "a string, a string name or an index");
        auto& items = m_image.strings.items;
        auto it = std::find_if(items.begin(), items.end(),
                               [&](const ByteString& s) { return s.bytes == t.text; });
        if (it != items.end()) return it - items.begin();
        items.push_back(ByteString{t.text, 0});
        return int64_t(items.size()) - 1;
    }

    void instruction(Cursor& c, const Statement& s)
    {
        const OpInfo& info = kOpInfo[s.opcode];
        const int64_t op = s.address;
        emit8(s.opcode);
        auto comma = [&] { expectPunct(c, ','); };
        switch (info.operands) {
        case Operands::None:
            break;
        case Operands::I8:
            emit8(i8(c, "operand"));
            break;
        case Operands::I32:
            if (info.reloc == Reloc::Selector)
                emit32(checkRange(selectorRef(c), INT32_MIN, UINT32_MAX, "selector"));
            else if (info.reloc == Reloc::String)
                emit32(checkRange(stringRef(c), INT32_MIN, UINT32_MAX, "string index"));
            else if (info.reloc == Reloc::Class)
                emit32(checkRange(classRef(c), INT32_MIN, UINT32_MAX, "class id"));
            else
                emit32(i32(c, "operand"));
            break;
        case Operands::Branch16:
            emit16(distance(c, op + 2, 2));
            break;
        case Operands::Branch32:
            emit32(distance(c, op + 4, 4));
            break;
        case Operands::Call:
            emit32(i32(c, "code address"));
            comma();
            emit32(checkRange(frameRef(c), INT32_MIN, UINT32_MAX, "method-info index"));
            break;
        case Operands::I32I32:
            emit32(i32(c, "operand"));
            comma();
            emit32(i32(c, "operand"));
            break;
        case Operands::U8I32:
            emit8(named(c, gcCodes(), "GC code"));
            comma();
            emit32(i32(c, "word count"));
            break;
        case Operands::U8U8:
            if (s.opcode == int(Op::NATIVE)) {
                nativeOperands(c);
                break;
            }
            emit8(i8(c, "operand"));
            comma();
            emit8(i8(c, "operand"));
            break;
        case Operands::I8I8:
            emit8(s.opcode == int(Op::EXTCALL) ? named(c, extensions(), "extension")
                                               : i8(c, "operand"));
            comma();
            emit8(i8(c, "operand"));
            break;
        case Operands::Bytes8: {
            const int64_t first = number(c, "a 64-bit value");
            if (c.acceptPunct(',')) {
                emit32(checkRange(first, INT32_MIN, UINT32_MAX, "low word"));
                emit32(checkRange(number(c, "the high word"), INT32_MIN, UINT32_MAX, "high word"));
            } else {
                emit32(first);
                emit32(first >> 32);
            }
            break;
        }
        case Operands::U8I32I8:
            emit8(named(c, gcCodes(), "GC code"));
            comma();
            emit32(i32(c, "word count"));
            comma();
            emit8(i8(c, "depth"));
            break;
        case Operands::Try:
            emit32(checkRange(classRef(c), INT32_MIN, UINT32_MAX, "class id"));
            comma();
            // The handler record holds op + 8 + d and execution resumes one byte later.
            emit32(distance(c, op + 9, 4));
            break;
        }
        expectEnd(c);
    }

    // ---------------------------------------------------------------- finishing

    void finish()
    {
        if (m_needEmptyFrame) m_image.methodInfos.items.push_back(MethodInfo{});
        for (size_t i = 0; i < m_image.selectors.items.size(); ++i) {
            const Selector& s = m_image.selectors.items[i];
            if (s.emptyCount != 0 && !s.implementations.empty())
                error(m_selectorLines[i], "count= is only for a selector without .impl lines");
        }
        auto checkEmpty = [this](uint32_t emptyCount, size_t size, const char* what) {
            if (emptyCount != 0 && size != 0)
                error(m_countLines.empty() ? 0 : m_countLines.back(),
                      std::string(".count ") + what + " is only for an empty section");
        };
        checkEmpty(m_image.functions.emptyCount, m_image.functions.items.size(), "functions");
        checkEmpty(m_image.selectors.emptyCount, m_image.selectors.items.size(), "selectors");
        checkEmpty(m_image.classes.emptyCount, m_image.classes.items.size(), "classes");
        checkEmpty(m_image.methodInfos.emptyCount, m_image.methodInfos.items.size(), "frames");
        checkEmpty(m_image.strings.emptyCount, m_image.strings.items.size(), "strings");

        chooseWidths(m_image);
        for (const WidthUse& u : m_widthUses) {
            const int w = m_image.widths[u.kind];
            if (!fitsWidth(u.value, w))
                error(u.line, std::string(u.what) + " " + std::to_string(u.value) +
                                  " does not fit the " + std::to_string(w) + "-byte '" +
                                  kWidthNames[u.kind] + "' width");
        }
        if (m_autoIdentity) {
            const auto id = deriveIdentity(writeImageBody(m_image));
            m_image.identity.assign(id.begin(), id.end());
        }
    }

    std::vector<SourceLine> m_lines;
    std::string m_file;
    int m_line = 0;
    Image m_image;
    bool m_autoIdentity = true;
    bool m_needEmptyFrame = false;
    std::vector<Statement> m_statements;
    std::map<std::string, int64_t> m_labels;
    std::map<std::string, int> m_classNames;
    std::map<std::string, int> m_frameNames;
    std::map<std::string, int> m_stringNames;
    std::vector<std::string> m_selectorNames;
    std::vector<int> m_selectorLines;
    std::vector<int> m_countLines;
    std::vector<WidthUse> m_widthUses;
};

} // namespace

Image assemble(std::string_view source, const std::string& fileName, LabelAddresses* labels)
{
    Assembler assembler(source, fileName);
    Image image = assembler.run();
    if (labels) *labels = assembler.labels();
    return image;
}

std::vector<uint8_t> assembleToBytes(std::string_view source, const std::string& fileName,
                                     LabelAddresses* labels)
{
    try {
        return writeImage(assemble(source, fileName, labels));
    } catch (const ImageError& e) {
        throw AssemblyError(fileName + ": " + e.what());
    }
}

} // namespace zelmo::image
