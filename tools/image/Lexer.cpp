// SPDX-License-Identifier: MIT
// Tokenizer of the assembler: identifiers, numbers (decimal, 0x hex, 0b binary, optional sign),
// strings with escapes, '.directives', '@aliases' and single-character punctuation.
#include "image/Lexer.h"

#include <cctype>
#include <limits>

namespace zelmo::image {

namespace {

bool isIdentStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Parses the digits of a number starting at s[i] (no sign); advances i.
int64_t parseNumber(std::string_view s, size_t& i, bool negative)
{
    size_t start = i;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
        ++i;
    std::string_view digits = s.substr(start, i - start);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'b' || digits[1] == 'B')) {
        base = 2;
        digits.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base)
            throw LexError("malformed number '" + std::string(s.substr(start, i - start)) + "'");
        if (magnitude > (std::numeric_limits<uint64_t>::max() - uint64_t(d)) / uint64_t(base))
            throw LexError("number too large");
        magnitude = magnitude * uint64_t(base) + uint64_t(d);
    }
    // Hex and binary may spell any 64-bit pattern; decimal must stay within int64.
    if (base == 10 && magnitude > (negative ? uint64_t{1} << 63 : uint64_t(INT64_MAX)))
        throw LexError("number too large");
    const int64_t v = static_cast<int64_t>(magnitude);
    return negative ? static_cast<int64_t>(0 - magnitude) : v;
}

std::string parseString(std::string_view s, size_t& i)
{
    std::string out;
    ++i; // opening quote
    while (true) {
        if (i >= s.size()) throw LexError("unterminated string");
        const char c = s[i++];
        if (c == '"') return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= s.size()) throw LexError("unterminated string");
        const char e = s[i++];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case '\'':
            out += '\'';
            break;
        case 'x': {
            if (i + 2 > s.size() || hexDigit(s[i]) < 0 || hexDigit(s[i + 1]) < 0)
                throw LexError("\\x needs two hex digits");
            out += static_cast<char>(hexDigit(s[i]) * 16 + hexDigit(s[i + 1]));
            i += 2;
            break;
        }
        case 'u': {
            if (i >= s.size() || s[i] != '{') throw LexError("\\u needs {hex digits}");
            ++i;
            uint32_t cp = 0;
            int n = 0;
            while (i < s.size() && s[i] != '}') {
                const int d = hexDigit(s[i++]);
                if (d < 0 || ++n > 6) throw LexError("malformed \\u{...} escape");
                cp = cp * 16 + uint32_t(d);
            }
            if (i >= s.size() || n == 0 || cp > 0x10FFFF)
                throw LexError("malformed \\u{...} escape");
            ++i;
            appendUtf8(out, cp);
            break;
        }
        default:
            throw LexError(std::string("unknown escape \\") + e);
        }
    }
}

} // namespace

std::string_view stripComment(std::string_view line)
{
    bool inString = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (inString) {
            if (line[i] == '\\')
                ++i;
            else if (line[i] == '"')
                inString = false;
        } else if (line[i] == '"') {
            inString = true;
        } else if (line[i] == ';') {
            return line.substr(0, i);
        }
    }
    return line;
}

std::vector<Token> tokenizeLine(std::string_view line)
{
    std::vector<Token> tokens;
    size_t i = 0;
    auto previousIsOperand = [&tokens] {
        if (tokens.empty()) return false;
        const Token& t = tokens.back();
        return t.kind == Token::Identifier || t.kind == Token::Number ||
               (t.kind == Token::Punct && t.text == ")");
    };
    while (i < line.size()) {
        const char c = line[i];
        if (c == ';') break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        if (c == '"') {
            t.kind = Token::String;
            t.text = parseString(line, i);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            t.kind = Token::Number;
            t.value = parseNumber(line, i, false);
        } else if ((c == '-' || c == '+') && i + 1 < line.size() &&
                   std::isdigit(static_cast<unsigned char>(line[i + 1])) &&
                   !(previousIsOperand() && i > 0 &&
                     !std::isspace(static_cast<unsigned char>(line[i - 1])))) {
            // "L-4" subtracts from a symbol; "-4" after a blank or a separator is a number.
            ++i;
            t.kind = Token::Number;
            t.value = parseNumber(line, i, c == '-');
            t.signedLiteral = true;
        } else if (isIdentStart(c) ||
                   ((c == '.' || c == '@') && i + 1 < line.size() && isIdentStart(line[i + 1]))) {
            t.kind = c == '.' ? Token::Directive : c == '@' ? Token::Alias : Token::Identifier;
            if (c == '.' || c == '@') ++i;
            const size_t start = i;
            while (i < line.size() && isIdentChar(line[i]))
                ++i;
            t.text = std::string(line.substr(start, i - start));
        } else if (std::string_view(",=():+-*").find(c) != std::string_view::npos) {
            t.kind = Token::Punct;
            t.text = std::string(1, c);
            ++i;
        } else {
            throw LexError(std::string("unexpected character '") + c + "'");
        }
        tokens.push_back(std::move(t));
    }
    tokens.push_back(Token{});
    return tokens;
}

} // namespace zelmo::image
