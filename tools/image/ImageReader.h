// SPDX-License-Identifier: MIT
// Parses the bytes of index.mcb into an in-memory image with the machine loader's structural
// rules (identity length 20, marker, widths 1/2/4, flag bytes 0/255). Counts that cannot fit
// in the bytes that remain are rejected before anything is allocated. Throws ImageError with
// the byte offset and what was wrong.
#pragma once

#include "image/Image.h"

#include <cstdint>
#include <vector>

namespace zelmo::image {

Image readImage(const std::vector<uint8_t>& bytes);

} // namespace zelmo::image
