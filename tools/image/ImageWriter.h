// SPDX-License-Identifier: MIT
// Turns an in-memory image into the bytes of index.mcb. Every width must have been chosen
// (chooseWidths) and every value must fit its width; otherwise ImageError says which one not.
#pragma once

#include "image/Image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zelmo::image {

// The whole file.
std::vector<uint8_t> writeImage(const Image& image);

// Everything after the identity: the bytes an identity can be derived from.
std::vector<uint8_t> writeImageBody(const Image& image);

// A 20-byte identity derived from the image body (SHA-1), so identical images share it.
std::array<uint8_t, 20> deriveIdentity(const std::vector<uint8_t>& body);

} // namespace zelmo::image
