// SPDX-License-Identifier: MIT
// The assembler: turns zelmo assembler source (docs/assembler.md) into an image. Errors throw
// AssemblyError whose text is "file:line: message".
#pragma once

#include "image/Image.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::image {

class AssemblyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The image with every width chosen and the identity filled in.
Image assemble(std::string_view source, const std::string& fileName);

// assemble() followed by writeImage().
std::vector<uint8_t> assembleToBytes(std::string_view source, const std::string& fileName);

} // namespace zelmo::image
