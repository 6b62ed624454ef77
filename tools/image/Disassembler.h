// SPDX-License-Identifier: MIT
// Prints an image as assembler source: header, method infos, classes, strings, functions,
// selectors and the code with addresses and labels. zelmo-asm turns the text back into the
// identical bytes.
#pragma once

#include "image/Image.h"

#include <string>
#include <string_view>

namespace zelmo::image {

std::string disassemble(const Image& image);

// A string literal (with quotes) that the assembler reads back as exactly these bytes.
std::string quoteBytes(std::string_view bytes);

} // namespace zelmo::image
