// SPDX-License-Identifier: MIT
// `.include "file"`, `.macro NAME params ... .endm` and `.equ NAME value` (docs/assembler.md,
// "Includes, macros and constants"). Expansion is textual: the assembler proper never sees a macro,
// so the disassembler's listing, which has none, assembles to the same bytes as the source it came
// from.
#include "image/SourceExpander.h"

#include "VirtualMachine/Opcodes.h"
#include "image/Assembler.h"
#include "image/Lexer.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace zelmo::image {

namespace {

// Guards against a macro that uses itself, directly or through others.
constexpr int kMaxMacroDepth = 32;

struct Macro {
    std::vector<std::string> params;
    std::vector<SourceLine> body;
};

bool isNameStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
// A whole word for constants: a label or a dotted name such as Debug.log is one word.
bool isWordChar(char c)
{
    return isNameChar(c) || c == '.' || c == '$';
}

std::string_view trim(std::string_view s)
{
    const size_t start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const size_t end = s.find_last_not_of(" \t");
    return s.substr(start, end - start + 1);
}

// When `code` is `.NAME` followed by a blank or nothing, sets `rest` to what follows.
bool isDirective(std::string_view code, std::string_view name, std::string_view& rest)
{
    if (code.size() <= name.size() || code[0] != '.' || code.substr(1, name.size()) != name)
        return false;
    if (code.size() > name.size() + 1 && code[name.size() + 1] != ' ' &&
        code[name.size() + 1] != '\t')
        return false;
    rest = trim(code.substr(name.size() + 1));
    return true;
}

// Splits on commas outside string literals.
std::vector<std::string> splitArguments(std::string_view text)
{
    std::vector<std::string> out;
    if (trim(text).empty()) return out;
    std::string current;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString && c == '\\' && i + 1 < text.size()) {
            current += c;
            current += text[++i];
            continue;
        }
        if (c == '"') inString = !inString;
        if (c == ',' && !inString) {
            out.emplace_back(trim(current));
            current.clear();
        } else {
            current += c;
        }
    }
    out.emplace_back(trim(current));
    return out;
}

class Expander {
public:
    std::vector<SourceLine> lines;

    void expandFile(std::string_view text, const std::string& name,
                    const std::filesystem::path& dir)
    {
        std::string collecting; // the macro being defined
        std::string definedAt;
        int number = 0;
        for (size_t pos = 0; pos <= text.size();) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            const std::string where = name + ":" + std::to_string(++number);
            const std::string_view code = trim(stripComment(line));
            std::string_view rest;
            if (!collecting.empty()) {
                if (isDirective(code, "endm", rest) || code == ".endm")
                    collecting.clear();
                else if (isDirective(code, "macro", rest) || code == ".macro")
                    fail(where, "a .macro inside the definition of '" + collecting + "'");
                else
                    m_macros[collecting].body.push_back({where, std::string(line)});
            } else if (isDirective(code, "macro", rest) || code == ".macro") {
                collecting = defineMacro(where, rest);
                definedAt = where;
            } else if (isDirective(code, "endm", rest) || code == ".endm") {
                fail(where, ".endm without .macro");
            } else if (isDirective(code, "equ", rest)) {
                defineConstant(where, rest);
            } else if (isDirective(code, "include", rest)) {
                include(where, rest, dir);
            } else {
                emit(where, std::string(line), 0);
            }
        }
        if (!collecting.empty())
            fail(definedAt, "macro '" + collecting + "' has no .endm before the end of " + name);
    }

    std::vector<std::filesystem::path> includeStack;

private:
    [[noreturn]] static void fail(const std::string& where, const std::string& message)
    {
        throw AssemblyError(where + ": " + message);
    }

    std::string defineMacro(const std::string& where, std::string_view rest)
    {
        size_t i = 0;
        if (rest.empty() || !isNameStart(rest[0])) fail(where, ".macro needs a name");
        while (i < rest.size() && isNameChar(rest[i]))
            ++i;
        const std::string name(rest.substr(0, i));
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (opcodeForMnemonic(upper) >= 0)
            fail(where, "macro '" + name + "' has the name of an instruction");
        if (m_macros.contains(name)) fail(where, "macro '" + name + "' defined twice");
        Macro macro;
        for (const std::string& param : splitArguments(rest.substr(i))) {
            // Parameters may also be separated by blanks only.
            size_t p = 0;
            while (p < param.size()) {
                const size_t start = param.find_first_not_of(" \t", p);
                if (start == std::string::npos) break;
                size_t stop = start;
                while (stop < param.size() && isNameChar(param[stop]))
                    ++stop;
                if (stop == start || !isNameStart(param[start]))
                    fail(where, "a macro parameter must be a name");
                macro.params.push_back(param.substr(start, stop - start));
                p = stop;
            }
        }
        m_macros[name] = std::move(macro);
        return name;
    }

    // `.equ NAME VALUE`: from here on the word NAME stands for VALUE (a number or a name, itself
    // with earlier constants in place).
    void defineConstant(const std::string& where, std::string_view rest)
    {
        size_t i = 0;
        if (rest.empty() || !isNameStart(rest[0])) fail(where, ".equ needs a name");
        while (i < rest.size() && isNameChar(rest[i]))
            ++i;
        const std::string name(rest.substr(0, i));
        const std::string value(trim(rest.substr(i)));
        if (value.empty() || value.find_first_of(" \t,;\"") != std::string::npos)
            fail(where, ".equ " + name + " needs one value (a number or a name)");
        if (m_constants.contains(name)) fail(where, "constant '" + name + "' defined twice");
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (opcodeForMnemonic(upper) >= 0)
            fail(where, "constant '" + name + "' has the name of an instruction");
        m_constants[name] = replaceConstants(value);
    }

    // Every whole word that names a constant becomes its value; strings and comments stay.
    std::string replaceConstants(const std::string& text) const
    {
        if (m_constants.empty()) return text;
        return rewriteCode(text, [&](std::string& out, size_t i) {
            const char c = text[i];
            if (!isWordChar(c) || (i > 0 && (isWordChar(text[i - 1]) || text[i - 1] == '\\'))) {
                out += c;
                return i;
            }
            size_t stop = i;
            while (stop < text.size() && isWordChar(text[stop]))
                ++stop;
            const std::string word = text.substr(i, stop - i);
            const auto constant = m_constants.find(word);
            out += constant == m_constants.end() ? word : constant->second;
            return stop - 1;
        });
    }

    void include(const std::string& where, std::string_view rest, const std::filesystem::path& dir)
    {
        std::vector<Token> tokens;
        try {
            tokens = tokenizeLine(rest);
        } catch (const LexError& e) {
            fail(where, e.what());
        }
        if (tokens.size() != 2 || tokens[0].kind != Token::String)
            fail(where, ".include takes one file name in quotes");
        const std::filesystem::path path = dir / tokens[0].text;
        std::ifstream in(path, std::ios::binary);
        if (!in) fail(where, "cannot open included file '" + path.string() + "'");
        std::error_code ignored;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ignored);
        for (const std::filesystem::path& open : includeStack) {
            if (open == canonical)
                fail(where, "'" + path.string() + "' includes itself (an include cycle)");
        }
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        includeStack.push_back(canonical);
        expandFile(text, path.string(), path.parent_path());
        includeStack.pop_back();
    }

    // A line that uses a macro becomes its labels, then the macro's body with the arguments in
    // place; any other line is kept as it is.
    void emit(const std::string& where, const std::string& rawLine, int depth)
    {
        const std::string line = replaceConstants(rawLine);
        std::vector<Token> tokens;
        try {
            tokens = tokenizeLine(line);
        } catch (const LexError&) {
            lines.push_back({where, line}); // the assembler reports it with its place
            return;
        }
        size_t i = 0;
        while (tokens[i].kind == Token::Identifier && tokens[i + 1].kind == Token::Punct &&
               tokens[i + 1].text == ":")
            i += 2;
        const auto macro =
            tokens[i].kind == Token::Identifier ? m_macros.find(tokens[i].text) : m_macros.end();
        if (macro == m_macros.end()) {
            lines.push_back({where, line});
            return;
        }
        if (depth >= kMaxMacroDepth)
            fail(where, "macros nested deeper than " + std::to_string(kMaxMacroDepth) +
                            " (a macro that uses itself?)");
        std::string labels;
        for (size_t k = 0; k < i; k += 2)
            labels += tokens[k].text + ": ";
        if (!labels.empty()) lines.push_back({where, labels});

        // The arguments are the text after the macro's name.
        const std::string_view code = stripComment(line);
        size_t at = 0;
        for (size_t k = 0; k < i; k += 2)
            at = code.find(':', code.find(tokens[k].text, at) + tokens[k].text.size()) + 1;
        at = code.find(tokens[i].text, at) + tokens[i].text.size();
        const std::vector<std::string> args = splitArguments(code.substr(at));
        if (args.size() != macro->second.params.size())
            fail(where, "macro '" + macro->first + "' takes " +
                            std::to_string(macro->second.params.size()) + " arguments, not " +
                            std::to_string(args.size()));
        const std::string expansion = std::to_string(++m_expansions);
        for (const SourceLine& body : macro->second.body) {
            const std::string text = substitute(body, macro->second.params, args, expansion);
            emit(body.where + " (in " + macro->first + " used at " + where + ")", text, depth + 1);
        }
    }

    // \name becomes the argument, \@ the number of this expansion (for unique labels). Strings
    // and comments are left alone, so their escapes keep their meaning.
    static std::string substitute(const SourceLine& body, const std::vector<std::string>& params,
                                  const std::vector<std::string>& args,
                                  const std::string& expansion)
    {
        const std::string& text = body.text;
        return rewriteCode(text, [&](std::string& out, size_t i) {
            if (text[i] != '\\') {
                out += text[i];
                return i;
            }
            if (i + 1 < text.size() && text[i + 1] == '@') {
                out += expansion;
                return i + 1;
            }
            size_t stop = i + 1;
            while (stop < text.size() && isNameChar(text[stop]))
                ++stop;
            const std::string name = text.substr(i + 1, stop - i - 1);
            size_t k = 0;
            while (k < params.size() && params[k] != name)
                ++k;
            if (k == params.size()) fail(body.where, "unknown macro parameter '\\" + name + "'");
            out += args[k];
            return stop - 1;
        });
    }

    // Copies a line, passing each character outside strings and comments to `code`, which
    // appends what it makes of it and answers the index of the last character it used.
    template <typename Code> static std::string rewriteCode(const std::string& text, Code code)
    {
        std::string out;
        bool inString = false;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (inString) {
                out += c;
                if (c == '\\' && i + 1 < text.size())
                    out += text[++i];
                else if (c == '"')
                    inString = false;
                continue;
            }
            if (c == ';') {
                out.append(text, i);
                break;
            }
            if (c == '"') {
                inString = true;
                out += c;
                continue;
            }
            i = code(out, i);
        }
        return out;
    }

    std::map<std::string, Macro> m_macros;
    std::map<std::string, std::string> m_constants;
    int m_expansions = 0;
};

} // namespace

std::vector<SourceLine> expandSource(std::string_view source, const std::string& fileName)
{
    Expander expander;
    const std::filesystem::path file(fileName);
    const bool onDisk = fileName != "<stdin>" && !fileName.empty();
    if (onDisk) {
        std::error_code ignored;
        expander.includeStack.push_back(std::filesystem::weakly_canonical(file, ignored));
    }
    expander.expandFile(source, fileName, onDisk ? file.parent_path() : std::filesystem::path());
    return std::move(expander.lines);
}

} // namespace zelmo::image
