// SPDX-License-Identifier: MIT
#include "lean/LeanHost.h"

#include "Base/Errors.h"
#include "IO/Stream.h"

#include <cstdio>
#include <cstdlib>

namespace zelmo {

namespace {

[[noreturn]] void unavailable(const char* service)
{
    std::fprintf(stderr, "FATAL: internal error: the lean run has no %s\n", service);
    std::exit(1);
}

} // namespace

// A negative delay is a caller's error and is refused (-1, false), as in the full runtime.
int32_t LeanHost::addTimer(uint32_t listener, int32_t delayMs)
{
    if (delayMs < 0) return -1;
    return m_timers.addTimer(listener, static_cast<uint32_t>(delayMs));
}

bool LeanHost::updateTimerDelay(int32_t timerId, int32_t delayMs)
{
    if (delayMs < 0) return false;
    m_timers.updateTimerDelay(timerId, delayMs);
    return true;
}

void LeanHost::callExtension(int32_t, int32_t, ExtensionStack&)
{
    throwError(kVMException, "Dll not supported");
}

std::unique_ptr<TARNEL::OutputStream> LeanHost::openFileWriter(const std::u16string&, int32_t)
{
    unavailable("files");
}
std::unique_ptr<TARNEL::InputStream> LeanHost::openFileReader(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::deleteFile(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::fileExists(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::renameFile(const std::u16string&, const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::listDirectory(const std::u16string&, std::vector<std::u16string>&,
                             std::vector<std::u16string>&, int32_t)
{
    unavailable("files");
}
bool LeanHost::createDirectory(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::deleteDirectory(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::renameDirectory(const std::u16string&, const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::directoryExists(const std::u16string&)
{
    unavailable("files");
}
bool LeanHost::setLogFile(const std::u16string&)
{
    unavailable("log file");
}

} // namespace zelmo
