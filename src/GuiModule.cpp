// SPDX-License-Identifier: MIT
// runGuiRuntime in the full build: opens zelmo-vm-gui.so (found as RuntimePart.h says) and runs
// its entry.
#include "GuiRuntime.h"
#include "RuntimePart.h"

#include <cstdio>
#include <dlfcn.h>

namespace zelmo {

int runGuiRuntime(int argc, char** argv)
{
    const std::filesystem::path module = findRuntimePart(kGuiModuleName);
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
