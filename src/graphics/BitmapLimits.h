// SPDX-License-Identifier: MIT
// The largest bitmap the runtime makes: sides of at most 32,767 pixels and at most 16,777,216
// pixels (64 MiB as ARGB32). Sizes come from guest words and image headers, so they are checked
// before anything is allocated, and decoders run under the same bound.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace zelmo::graphics {

constexpr int64_t kMaxBitmapSide = 32767;
constexpr int64_t kMaxBitmapPixels = 16777216;
constexpr int kDecoderAllocationLimitMiB = 64;

// Non-negative sides within both limits.
bool fitsBitmapLimits(int64_t width, int64_t height);
// Raises InvalidArgumentException "Bitmap too large: W x H" unless the size fits.
void requireBitmapSize(int64_t width, int64_t height);

// Decodes a picture whose format is told by its bytes. The header size is checked before the
// decoder allocates; a picture that is undecodable or too large gives a null image.
QImage decodeImage(const uint8_t* data, size_t size);

} // namespace zelmo::graphics
