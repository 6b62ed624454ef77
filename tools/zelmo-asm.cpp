// SPDX-License-Identifier: MIT
// zelmo-asm: assembles a source file into an index.mcb image.
//   zelmo-asm SOURCE [-o OUTPUT] [--labels FILE]      (OUTPUT defaults to index.mcb)
//   zelmo-asm --help | --version
#include "image/Assembler.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

void printUsage(std::ostream& out)
{
    out << "usage: zelmo-asm SOURCE [-o OUTPUT] [--labels FILE]\n"
           "Assembles SOURCE (- for standard input) into an image, by default index.mcb.\n"
           "  -o OUTPUT       write the image to OUTPUT\n"
           "  --labels FILE   write each label's name and code address to FILE, one a line\n"
           "  --help       show this text\n"
           "  --version    show the version\n"
           "The source format is described in docs/assembler.md.\n";
}

int usage()
{
    printUsage(std::cerr);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string source;
    std::string output = "index.mcb";
    std::string labelFile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "--labels" && i + 1 < argc) {
            labelFile = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            printUsage(std::cout);
            return 0;
        } else if (arg == "--version") {
            std::cout << "zelmo-asm " ZELMO_VERSION "\n";
            return 0;
        } else if (source.empty() && (arg == "-" || arg.empty() || arg[0] != '-')) {
            source = arg;
        } else {
            return usage();
        }
    }
    if (source.empty()) return usage();

    std::string text;
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            std::cerr << source << ": cannot open\n";
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<uint8_t> bytes;
    zelmo::image::LabelAddresses labels;
    try {
        bytes = zelmo::image::assembleToBytes(text, source == "-" ? "<stdin>" : source, &labels);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }

    if (!labelFile.empty()) {
        std::ofstream list(labelFile, std::ios::trunc);
        for (const auto& [name, address] : labels)
            list << name << ' ' << address << '\n';
        if (!list) {
            std::cerr << labelFile << ": cannot write\n";
            return 1;
        }
    }

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << output << ": cannot write\n";
        std::remove(output.c_str());
        return 1;
    }
    return 0;
}
