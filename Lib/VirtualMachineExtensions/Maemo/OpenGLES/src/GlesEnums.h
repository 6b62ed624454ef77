// SPDX-License-Identifier: MIT
// The GL enum values the bindings compute extents and states from, spelled once so that the
// extent table does not depend on which GL headers a platform ships.
#pragma once

#include <cstdint>

namespace zelmo::gles {

enum : uint32_t {
    GLES_BYTE = 0x1400,
    GLES_UNSIGNED_BYTE = 0x1401,
    GLES_SHORT = 0x1402,
    GLES_UNSIGNED_SHORT = 0x1403,
    GLES_UNSIGNED_INT = 0x1405,
    GLES_FLOAT = 0x1406,
    GLES_FIXED = 0x140C,
    GLES_ALPHA = 0x1906,
    GLES_RGB = 0x1907,
    GLES_RGBA = 0x1908,
    GLES_LUMINANCE = 0x1909,
    GLES_LUMINANCE_ALPHA = 0x190A,
    GLES_BGRA_EXT = 0x80E1,
    GLES_UNSIGNED_SHORT_4_4_4_4 = 0x8033,
    GLES_UNSIGNED_SHORT_5_5_5_1 = 0x8034,
    GLES_UNSIGNED_SHORT_5_6_5 = 0x8363,
    GLES_PACK_ALIGNMENT = 0x0D05,
    GLES_UNPACK_ALIGNMENT = 0x0CF5,
};

} // namespace zelmo::gles
