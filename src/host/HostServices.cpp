// SPDX-License-Identifier: MIT
#include "host/HostServices.h"

#include "Base/Errors.h"
#include "IO/Stream.h"
#include "host/ApplicationSession.h"

namespace zelmo {

HostServices::HostServices(std::u16string baseDirectory)
    : BasicHostServices(std::move(baseDirectory)), m_files(this->baseDirectory())
{
}

HostServices::~HostServices() = default;

void HostServices::log(const std::u16string& text)
{
    BasicHostServices::log(text);
    m_files.logLine(text);
}

bool HostServices::setLogFile(const std::u16string& path)
{
    return m_files.setLogFile(path);
}

void HostServices::exitApplication()
{
    if (m_session) m_session->requestExit();
}

void HostServices::callExtension(int32_t extension, int32_t operation, ExtensionStack& stack)
{
    VirtualMachine* machine = m_session ? m_session->machine() : nullptr;
    // Extensions are made with the application's machine; without one there is none to call.
    if (!machine) throwError(kVMException, "Dll not supported");
    m_extensions.call(extension, operation, stack, *machine);
}

// Files and the log file: the shared implementation keeps every path inside the application.
std::unique_ptr<TARNEL::OutputStream> HostServices::openFileWriter(const std::u16string& path,
                                                                   int32_t flag)
{
    return m_files.openFileWriter(path, flag);
}
std::unique_ptr<TARNEL::InputStream> HostServices::openFileReader(const std::u16string& path)
{
    return m_files.openFileReader(path);
}
bool HostServices::deleteFile(const std::u16string& path)
{
    return m_files.deleteFile(path);
}
bool HostServices::fileExists(const std::u16string& path)
{
    return m_files.fileExists(path);
}
bool HostServices::renameFile(const std::u16string& from, const std::u16string& to)
{
    return m_files.renameFile(from, to);
}
bool HostServices::listDirectory(const std::u16string& path, std::vector<std::u16string>& files,
                                 std::vector<std::u16string>& directories, int32_t flag)
{
    return m_files.listDirectory(path, files, directories, flag);
}
bool HostServices::createDirectory(const std::u16string& path)
{
    return m_files.createDirectory(path);
}
bool HostServices::deleteDirectory(const std::u16string& path)
{
    return m_files.deleteDirectory(path);
}
bool HostServices::renameDirectory(const std::u16string& from, const std::u16string& to)
{
    return m_files.renameDirectory(from, to);
}
bool HostServices::directoryExists(const std::u16string& path)
{
    return m_files.directoryExists(path);
}

// Timers go to the scheduler. A negative delay is a caller's error and is refused (-1, false).
int32_t HostServices::addTimer(uint32_t listener, int32_t delayMs)
{
    if (delayMs < 0) return -1;
    return m_scheduler.addTimer(listener, static_cast<uint32_t>(delayMs));
}

uint32_t HostServices::removeTimer(int32_t timerId)
{
    return m_scheduler.removeTimer(timerId);
}

bool HostServices::updateTimerDelay(int32_t timerId, int32_t delayMs)
{
    if (delayMs < 0) return false;
    m_scheduler.updateTimerDelay(timerId, delayMs);
    return true;
}

} // namespace zelmo
