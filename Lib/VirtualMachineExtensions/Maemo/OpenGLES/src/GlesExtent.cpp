// SPDX-License-Identifier: MIT
#include "OpenGLES/GlesExtent.h"

#include "OpenGLES/GlesEnums.h"

namespace zelmo::gles {

std::optional<uint32_t> pixelBytes(uint32_t format, uint32_t type)
{
    uint32_t components = 0;
    switch (format) {
    case GLES_ALPHA:
    case GLES_LUMINANCE:
        components = 1;
        break;
    case GLES_LUMINANCE_ALPHA:
        components = 2;
        break;
    case GLES_RGB:
        components = 3;
        break;
    case GLES_RGBA:
    case GLES_BGRA_EXT:
        components = 4;
        break;
    default:
        return std::nullopt;
    }
    switch (type) {
    case GLES_UNSIGNED_BYTE:
        return components;
    case GLES_UNSIGNED_SHORT_5_6_5:
    case GLES_UNSIGNED_SHORT_4_4_4_4:
    case GLES_UNSIGNED_SHORT_5_5_5_1:
        // A whole pixel in one short; a format that does not match the type is GL's error,
        // and GL reads nothing then.
        return 2;
    default:
        return std::nullopt;
    }
}

uint64_t imageBytes(int32_t width, int32_t height, uint32_t bytesPerPixel, int32_t alignment)
{
    if (width <= 0 || height <= 0) return 0;
    const uint64_t row = uint64_t(width) * bytesPerPixel;
    // GL accepts only 1, 2, 4 and 8; anything else was refused when it was set.
    const uint64_t step = alignment > 1 ? uint64_t(alignment) : 1;
    const uint64_t paddedRow = (row + step - 1) / step * step;
    return uint64_t(height - 1) * paddedRow + row;
}

std::optional<uint32_t> attributeTypeBytes(uint32_t type)
{
    switch (type) {
    case GLES_BYTE:
    case GLES_UNSIGNED_BYTE:
        return 1;
    case GLES_SHORT:
    case GLES_UNSIGNED_SHORT:
        return 2;
    case GLES_FLOAT:
    case GLES_FIXED:
        return 4;
    default:
        return std::nullopt;
    }
}

std::optional<uint32_t> indexTypeBytes(uint32_t type)
{
    switch (type) {
    case GLES_UNSIGNED_BYTE:
        return 1;
    case GLES_UNSIGNED_SHORT:
        return 2;
    case GLES_UNSIGNED_INT:
        return 4;
    default:
        return std::nullopt;
    }
}

uint64_t vertexArrayBytes(int64_t highestVertex, int32_t size, uint32_t typeBytes, int32_t stride)
{
    const uint64_t packed = uint64_t(size) * typeBytes;
    const uint64_t step = stride > 0 ? uint64_t(stride) : packed;
    return uint64_t(highestVertex) * step + packed;
}

} // namespace zelmo::gles
