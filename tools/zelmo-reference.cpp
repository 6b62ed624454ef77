// SPDX-License-Identifier: MIT
// zelmo-reference: writes the application reference (docs/reference.md) from a hand-written
// template and the machine's own tables: the opcode table with its effects, and the native
// catalog. The template's lines "@INSTRUCTIONS@" and "@NATIVES@" are replaced by the tables.
//   zelmo-reference TEMPLATE [-o OUTPUT]
#include "VirtualMachine/NativeCatalog.h"
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/Opcodes.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

struct OpcodeDoc {
    std::string_view mnemonic, operands, effect, errors;
};

constexpr OpcodeDoc kOpcodeDocs[] = {
#define OPCODE_DOC(name, operands, effect, errors) {#name, operands, effect, errors},
#include "VirtualMachine/OpcodeEffects.def"
#undef OPCODE_DOC
};

// Every opcode is described exactly once, and nothing else is.
consteval bool everyOpcodeIsDescribed()
{
    int opcodes = 0;
    for (const zelmo::OpInfo& info : zelmo::kOpInfo) {
        if (!info.valid()) continue;
        ++opcodes;
        int rows = 0;
        for (const OpcodeDoc& doc : kOpcodeDocs)
            rows += doc.mnemonic == info.mnemonic ? 1 : 0;
        if (rows != 1) return false;
    }
    return opcodes == static_cast<int>(std::size(kOpcodeDocs));
}
static_assert(everyOpcodeIsDescribed(), "OpcodeEffects.def and Opcodes.def disagree");

// Table cells: characters that Markdown would read as markup are escaped, outside `code`.
std::string cell(std::string_view text)
{
    std::string out;
    bool code = false;
    for (char c : text) {
        if (c == '`') code = !code;
        if (c == '|' || (!code && (c == '*' || c == '<' || c == '_'))) out += '\\';
        out += c;
    }
    return out.empty() ? "-" : out;
}

// The array groups share one table: the first lists it, the others refer to it.
const zelmo::NativeGroup* sameOperationsAs(const zelmo::NativeGroup& group)
{
    for (const zelmo::NativeGroup& earlier : zelmo::nativeGroups()) {
        if (earlier.number >= group.number) break;
        if (!earlier.operations.empty() && std::ranges::equal(earlier.operations, group.operations,
                                                              [](const auto& a, const auto& b) {
                                                                  return a.number == b.number &&
                                                                         a.name == b.name;
                                                              }))
            return &earlier;
    }
    return nullptr;
}

void writeInstructions(std::ostream& out)
{
    out << "| Byte | Mnemonic | Operands | Effect | Errors |\n|---|---|---|---|---|\n";
    for (size_t byte = 0; byte < zelmo::kOpInfo.size(); ++byte) {
        const zelmo::OpInfo& info = zelmo::kOpInfo[byte];
        if (!info.valid()) continue;
        for (const OpcodeDoc& doc : kOpcodeDocs) {
            if (doc.mnemonic != info.mnemonic) continue;
            out << "| " << byte << " | `" << doc.mnemonic << "` | " << cell(doc.operands) << " | "
                << cell(doc.effect) << " | " << cell(doc.errors) << " |\n";
        }
    }
}

bool boundInCore(const zelmo::NativeGroup& group)
{
    for (const zelmo::NativeOperation& op : group.operations)
        if (zelmo::nativeHandler(group.number, op.number)) return true;
    return false;
}

void writeNatives(std::ostream& out)
{
    zelmo::registerCoreNatives();
    for (const zelmo::NativeGroup& group : zelmo::nativeGroups()) {
        out << "### " << group.number << " " << group.name << "\n\n" << group.note << "\n\n";
        out << "Unknown operations raise `VMException` \"" << group.prefix << "\" followed by "
            << (group.message == zelmo::NativeMessage::Operation ? "the operation number"
                                                                 : "the instruction position")
            << ".";
        if (!group.operations.empty() && !boundInCore(group))
            out << " Not implemented by the window-less runtime (`zelmo-vm --headless`): there "
                   "every operation raises that error.";
        out << "\n\n";
        if (group.operations.empty()) continue;
        if (const zelmo::NativeGroup* same = sameOperationsAs(group)) {
            out << "The operations of " << same->name << ", named `" << group.name
                << ".operation`.\n\n";
            continue;
        }
        out << "| Op | Name | Arguments | Result | Errors |\n|---|---|---|---|---|\n";
        for (const zelmo::NativeOperation& op : group.operations)
            out << "| " << op.number << " | `" << group.name << "." << op.name << "` | "
                << cell(op.arguments) << " | " << cell(op.result) << " | " << cell(op.errors)
                << " |\n";
        out << "\n";
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string input, output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: zelmo-reference TEMPLATE [-o OUTPUT]\n";
            return 0;
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            std::cerr << "usage: zelmo-reference TEMPLATE [-o OUTPUT]\n";
            return 1;
        }
    }
    std::ifstream in(input);
    if (input.empty() || !in) {
        std::cerr << "usage: zelmo-reference TEMPLATE [-o OUTPUT]\n";
        return 1;
    }
    std::ostringstream text;
    for (std::string line; std::getline(in, line);) {
        if (line == "@INSTRUCTIONS@")
            writeInstructions(text);
        else if (line == "@NATIVES@")
            writeNatives(text);
        else
            text << line << "\n";
    }
    if (output.empty()) {
        std::cout << text.str();
        return std::cout ? 0 : 1;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    if (!out) {
        std::cerr << output << ": cannot write\n";
        return 1;
    }
    return 0;
}
