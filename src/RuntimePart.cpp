// SPDX-License-Identifier: MIT
#include "RuntimePart.h"

#include <system_error>

namespace zelmo {

std::filesystem::path findRuntimePart(const char* name)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path directory = program.parent_path();
    for (const std::filesystem::path& candidate :
         {directory / name, directory / ZELMO_RUNTIME_PART_DIR / name})
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    return {};
}

} // namespace zelmo
