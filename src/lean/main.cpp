// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory. A window-less run
// that it can make exactly as the full runtime would (LeanRun.h) runs here, on the core alone,
// without Qt; every other command line goes unchanged to the full runtime zelmo-vm-full.
#include "RuntimePart.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/SessionSteps.h"
#include "lean/LeanRun.h"

#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelmo;

namespace {

constexpr char kFullRuntime[] = "zelmo-vm-full";

// The whole file; false when it cannot be read whole or holds more than a stream can measure
// (the full runtime then says why).
bool readWholeFile(const std::string& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
              status.st_size <= std::numeric_limits<int32_t>::max();
    if (ok) {
        bytes.resize(static_cast<size_t>(status.st_size));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            ok = n > 0;
            if (ok) done += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

int runFullRuntime(const std::filesystem::path& program, char** argv)
{
    if (program.empty()) {
        std::fprintf(stderr, "FATAL: the full runtime %s is not installed beside zelmo-vm\n",
                     kFullRuntime);
        return 1;
    }
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "FATAL: cannot start the full runtime %s\n", program.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path full = findRuntimePart(kFullRuntime);
    const std::optional<std::string> directory = leanApplicationDirectory(argc, argv);
    // A qt.conf beside the full runtime could change where Qt looks for its logging rules.
    if (!directory || !leanEnvironment() ||
        (!full.empty() && std::filesystem::exists(full.parent_path() / "qt.conf")))
        return runFullRuntime(full, argv);
    std::string bytes;
    if (!readWholeFile(*directory + "/index.mcb", bytes)) return runFullRuntime(full, argv);
    std::unique_ptr<VirtualMachine> image = readImage(bytes);
    if (!image || !leanImage(*image)) {
        image.reset();
        return runFullRuntime(full, argv);
    }
    // What the full runtime's start says through Qt's default message handler.
    std::fputs("starting main\n", stderr);
    return runLean(std::move(image), bytes, *directory);
}
