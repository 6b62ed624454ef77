// SPDX-License-Identifier: MIT
// runGuiRuntime in the full build: opens zelmo-vm-gui.so and runs its entry. The module is
// found beside the program (the build tree) or, installed, at ZELMO_GUI_MODULE_DIR relative to
// the program's directory, so an installation moved as a whole still finds it.
#include "GuiRuntime.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <system_error>

namespace zelmo {

namespace {

// The module's path, or empty when it is in neither place.
std::filesystem::path findGuiModule()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path directory = program.parent_path();
    for (const std::filesystem::path& candidate :
         {directory / kGuiModuleName, directory / ZELMO_GUI_MODULE_DIR / kGuiModuleName})
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    return {};
}

} // namespace

int runGuiRuntime(int argc, char** argv)
{
    const std::filesystem::path module = findGuiModule();
    if (module.empty()) {
        std::fprintf(stderr, "FATAL: the runtime's GUI part %s is not installed beside zelmo-vm\n",
                     kGuiModuleName);
        return 1;
    }
    void* handle = dlopen(module.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry =
        handle ? reinterpret_cast<GuiModuleEntry>(dlsym(handle, kGuiModuleEntry)) : nullptr;
    if (!entry) {
        const char* reason = dlerror();
        std::fprintf(stderr, "FATAL: cannot load the runtime's GUI part: %s\n",
                     reason ? reason : module.c_str());
        return 1;
    }
    return entry(argc, argv);
}

} // namespace zelmo
