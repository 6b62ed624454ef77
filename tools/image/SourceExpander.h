// SPDX-License-Identifier: MIT
// The assembler's first step: reads `.include` files in place and expands `.macro` definitions,
// so that the assembler proper sees plain lines, each with the place it came from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelmo::image {

struct SourceLine {
    std::string where; // "file:line" of the text, plus the macro use it was expanded from
    std::string text;
};

// Errors throw AssemblyError ("file:line: message"). Included files are read from disk, relative
// to the folder of the file that includes them (the current folder for standard input).
std::vector<SourceLine> expandSource(std::string_view source, const std::string& fileName);

} // namespace zelmo::image
