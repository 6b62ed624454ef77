// SPDX-License-Identifier: MIT
// zelmo-dis: prints an index.mcb image as assembler source that zelmo-asm turns back into the
// identical bytes.
//   zelmo-dis IMAGE [-o OUTPUT]
//   zelmo-dis --help | --version
#include "image/Disassembler.h"
#include "image/ImageReader.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

void printUsage(std::ostream& out)
{
    out << "usage: zelmo-dis IMAGE [-o OUTPUT]\n"
           "Prints IMAGE (- for standard input) as source that zelmo-asm turns back into the\n"
           "same bytes.\n"
           "  -o OUTPUT    write the source to OUTPUT instead of standard output\n"
           "  --help       show this text\n"
           "  --version    show the version\n";
}

int usage()
{
    printUsage(std::cerr);
    return 1;
}

int fatal(const std::string& message)
{
    std::cerr << "FATAL: " << message << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string input;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            printUsage(std::cout);
            return 0;
        } else if (arg == "--version") {
            std::cout << "zelmo-dis " ZELMO_VERSION "\n";
            return 0;
        } else if (input.empty() && !arg.empty() && (arg == "-" || arg[0] != '-')) {
            input = arg;
        } else {
            return usage();
        }
    }
    if (input.empty()) return usage();

    std::vector<uint8_t> bytes;
    if (input == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(input, std::ios::binary);
        if (!in) return fatal(input + ": cannot open");
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return fatal(input + ": cannot read");
    }

    std::string text;
    try {
        text = zelmo::image::disassemble(zelmo::image::readImage(bytes));
    } catch (const zelmo::image::ImageError& e) {
        return fatal(input + ": not a valid image: " + e.what());
    } catch (const std::exception& e) {
        return fatal(input + ": " + e.what());
    }

    if (output.empty()) {
        std::cout << text;
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) return fatal(output + ": cannot write");
    return 0;
}
