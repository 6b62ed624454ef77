// SPDX-License-Identifier: MIT
// What a started position request receives. A desktop has no location service, so the source is
// chosen on the command line: none (requests are recorded and never deliver), a fixed position
// delivered at once and then every interval, or an error code delivered once per start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zelmo {

struct PositionSourceSettings {
    enum class Mode { None, Fixed, Error };
    Mode mode = Mode::None;
    // Fixed: latitude and longitude in degrees, altitude and accuracy in metres, as Fixed values.
    std::array<int64_t, 4> values{};
    int32_t errorCode = 0; // Error

    // "A,B[,C[,D]]" (missing values are 0) or "error:N"; false when the value is neither.
    bool parse(const std::string& value);
};

} // namespace zelmo
