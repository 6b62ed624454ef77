// SPDX-License-Identifier: MIT
// zelmo-vm: runs an application image. The runtime is still being built: for now this only
// reports that honestly.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zelmo-vm %s\n", ZELMO_VERSION);
            return 0;
        }
    }
    std::fprintf(stderr, "zelmo-vm: running images is not available yet in this build\n");
    return 2;
}
