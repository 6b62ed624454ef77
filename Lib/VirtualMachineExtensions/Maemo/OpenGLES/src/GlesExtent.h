// SPDX-License-Identifier: MIT
// How many bytes of guest memory a GL call reads or writes through a pointer, computed from the
// call's own arguments in 64 bits before GL sees them. Every answer is a lower bound that the
// array behind the pointer must cover; an enum this table does not know has no answer, and the
// call is refused rather than guessed.
#pragma once

#include <cstdint>
#include <optional>

namespace zelmo::gles {

// Bytes of one pixel for glTexImage2D/glTexSubImage2D: the formats ALPHA, LUMINANCE,
// LUMINANCE_ALPHA, RGB, RGBA and BGRA_EXT with UNSIGNED_BYTE, and any of them with the three
// packed 16-bit types. Empty for anything else.
std::optional<uint32_t> pixelBytes(uint32_t format, uint32_t type);

// Bytes an image of width x height pixels of `bytesPerPixel` occupies when each row but the
// last is padded to `alignment` (1, 2, 4 or 8). A width or height of 0 or less reads nothing
// (GL rejects the negative ones itself).
uint64_t imageBytes(int32_t width, int32_t height, uint32_t bytesPerPixel, int32_t alignment);

// Bytes of one component of a vertex attribute: BYTE and UNSIGNED_BYTE 1, SHORT and
// UNSIGNED_SHORT 2, FLOAT and FIXED 4. Empty for anything else.
std::optional<uint32_t> attributeTypeBytes(uint32_t type);

// Bytes of one element index: UNSIGNED_BYTE 1, UNSIGNED_SHORT 2, UNSIGNED_INT 4.
std::optional<uint32_t> indexTypeBytes(uint32_t type);

// Bytes a vertex array must hold so that vertex `highestVertex` can be read: the vertex's
// offset (stride, or the packed size when the stride is 0) plus one packed vertex.
uint64_t vertexArrayBytes(int64_t highestVertex, int32_t size, uint32_t typeBytes, int32_t stride);

// Bytes `count` items of `itemBytes` occupy; nothing for a count of 0 or less.
inline uint64_t countBytes(int32_t count, uint64_t itemBytes)
{
    return count > 0 ? uint64_t(count) * itemBytes : 0;
}

} // namespace zelmo::gles
