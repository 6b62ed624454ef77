// SPDX-License-Identifier: MIT
// Where zelmo-vm finds the other parts of the runtime: the full runtime zelmo-vm-full and its
// GUI module zelmo-vm-gui.so. A part lies beside the running program (the build tree) or,
// installed, at ZELMO_RUNTIME_PART_DIR (lib/zelmo) relative to the program's directory, so an
// installation moved as a whole still finds it.
#pragma once

#include <filesystem>

namespace zelmo {

// The part's path, or an empty path when it is in neither place.
std::filesystem::path findRuntimePart(const char* name);

} // namespace zelmo
