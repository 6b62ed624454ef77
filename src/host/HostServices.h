// SPDX-License-Identifier: MIT
// The host services that need no window, shared by the headless runtime and the window:
// logging, clocks, orientation and screen size, exit, and the slots that answer nothing on
// this host. File services and timers are delegated to their own components.
#pragma once

#include "IO/HostFileServices.h"
#include "VirtualMachine/FrameworkServices.h"
#include "host/ExtensionHost.h"
#include "host/Scheduler.h"

#include <QElapsedTimer>
#include <cstdint>
#include <string>

namespace zelmo {

class ApplicationSession;

class HostServices : public FrameworkServices {
public:
    explicit HostServices(std::u16string baseDirectory);
    ~HostServices() override;

    const std::u16string& baseDirectory() const { return m_baseDirectory; }
    // The session running on this host (null: none); its exit request goes there.
    void attach(ApplicationSession* session) { m_session = session; }
    ApplicationSession* session() const { return m_session; }
    // Records the start time that getElapsedMillis counts from.
    void markStarted();

    // File services (slots 2-12).
    std::unique_ptr<TARNEL::OutputStream> openFileWriter(const std::u16string& path,
                                                         int32_t flag) override;
    std::unique_ptr<TARNEL::InputStream> openFileReader(const std::u16string& path) override;
    bool deleteFile(const std::u16string& path) override;
    bool fileExists(const std::u16string& path) override;
    int32_t reservedFileService() override { return 0; }
    bool renameFile(const std::u16string& from, const std::u16string& to) override;
    bool listDirectory(const std::u16string& path, std::vector<std::u16string>& files,
                       std::vector<std::u16string>& directories, int32_t flag) override;
    bool createDirectory(const std::u16string& path) override;
    bool deleteDirectory(const std::u16string& path) override;
    bool renameDirectory(const std::u16string& from, const std::u16string& to) override;
    bool directoryExists(const std::u16string& path) override;

    int32_t queryInteger13() override { return 0; }
    int32_t queryInteger14() override { return 0; }
    std::u16string getPathSeparator() override { return u"/"; }
    std::u16string getPlatformName() override { return u"maemo"; }
    int32_t getCurrentTimeMillis() override;
    int32_t getElapsedMillis() override;
    void invalidate(int32_t, int32_t, int32_t, int32_t) override {}
    void log(const std::u16string& text) override;
    bool setLogFile(const std::u16string& path) override;
    int32_t queryString22(const std::u16string&) override { return 0; }
    // Tells the session to end with status 0; the caller then unwinds the invocation.
    void exitApplication() override;
    void* getWidget() override { return nullptr; }
    int32_t queryInteger25() override { return 0; }
    int32_t queryInteger26(int32_t, int32_t) override { return 0; }
    void notifyHost27(uint8_t, int32_t) override {}
    void setScreenFlag(bool) override {}
    void setOrientation(int32_t orientation) override;
    int32_t getOrientation() override { return m_orientation; }
    // Goes to the extension host with the session's machine; "Dll not supported" for an id
    // nothing provides.
    void callExtension(int32_t extension, int32_t operation, ExtensionStack& stack) override;
    void getScreenSize(int32_t& width, int32_t& height) override;
    void setIdle(bool) override {}
    void registerScreenObject(uint32_t) override {}
    void unregisterScreenObject(uint32_t) override {}
    int32_t addTimer(uint32_t listener, int32_t delayMs) override;
    uint32_t removeTimer(int32_t timerId) override;
    bool updateTimerDelay(int32_t timerId, int32_t delayMs) override;
    int32_t queryInteger39() override { return 0; }
    std::u16string getBaseDirectory() override { return m_baseDirectory; }

    // Microseconds since the epoch, from the system time of day.
    static int64_t nowMicroseconds();

    // The application's timers.
    Scheduler& scheduler() { return m_scheduler; }
    // Where extension libraries register their extensions.
    ExtensionHost& extensions() { return m_extensions; }

protected:
    // The window repaints when the orientation changes; the headless host has nothing to do.
    virtual void orientationChanged() {}

private:
    std::u16string m_baseDirectory;
    HostFileServices m_files; // slots 2-12 and the log file
    int64_t m_startMicros = 0;
    int32_t m_orientation = 2; // landscape
    Scheduler m_scheduler;
    ExtensionHost m_extensions;
    ApplicationSession* m_session = nullptr;
};

} // namespace zelmo
