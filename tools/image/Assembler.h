// SPDX-License-Identifier: MIT
// The assembler: turns zelmo assembler source (docs/assembler.md) into an image. Errors throw
// AssemblyError whose text is "file:line: message".
#pragma once

#include "image/Image.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zelmo::image {

class AssemblyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code address of each label, by name.
using LabelAddresses = std::map<std::string, int64_t>;

// The image with every width chosen and the identity filled in. When `labels` is given, it
// receives the address of every label.
Image assemble(std::string_view source, const std::string& fileName,
               LabelAddresses* labels = nullptr);

// assemble() followed by writeImage().
std::vector<uint8_t> assembleToBytes(std::string_view source, const std::string& fileName,
                                     LabelAddresses* labels = nullptr);

} // namespace zelmo::image
