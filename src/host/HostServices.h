// SPDX-License-Identifier: MIT
// The host services that need no window, shared by the headless runtime and the window: on top
// of the basic ones (logging, clocks, orientation and screen size, BasicHostServices), exit,
// files, the log file, timers and extensions. File services and timers are delegated to their
// own components.
#pragma once

#include "IO/HostFileServices.h"
#include "host/BasicHostServices.h"
#include "host/ExtensionHost.h"
#include "host/Scheduler.h"

#include <cstdint>
#include <string>

namespace zelmo {

namespace gles {
class GlesSurface;
}
class ApplicationSession;

class HostServices : public BasicHostServices {
public:
    explicit HostServices(std::u16string baseDirectory);
    ~HostServices() override;

    // The session running on this host (null: none); its exit request goes there.
    void attach(ApplicationSession* session) { m_session = session; }
    ApplicationSession* session() const { return m_session; }

    // File services (slots 2-12).
    std::unique_ptr<TARNEL::OutputStream> openFileWriter(const std::u16string& path,
                                                         int32_t flag) override;
    std::unique_ptr<TARNEL::InputStream> openFileReader(const std::u16string& path) override;
    bool deleteFile(const std::u16string& path) override;
    bool fileExists(const std::u16string& path) override;
    bool renameFile(const std::u16string& from, const std::u16string& to) override;
    bool listDirectory(const std::u16string& path, std::vector<std::u16string>& files,
                       std::vector<std::u16string>& directories, int32_t flag) override;
    bool createDirectory(const std::u16string& path) override;
    bool deleteDirectory(const std::u16string& path) override;
    bool renameDirectory(const std::u16string& from, const std::u16string& to) override;
    bool directoryExists(const std::u16string& path) override;

    void invalidate(int32_t, int32_t, int32_t, int32_t) override {}
    // Whether a repaint was requested and not yet drawn (it keeps a headless run alive).
    virtual bool redrawPending() const { return false; }
    // Where OpenGL draws (the window's logical screen, or the headless one); null: nowhere.
    virtual gles::GlesSurface* glSurface() { return nullptr; }
    // Also into the log file, once the application has set one.
    void log(const std::u16string& text) override;
    bool setLogFile(const std::u16string& path) override;
    // Tells the session to end with status 0; the caller then unwinds the invocation.
    void exitApplication() override;
    // Goes to the extension host with the session's machine; "Dll not supported" for an id
    // nothing provides.
    void callExtension(int32_t extension, int32_t operation, ExtensionStack& stack) override;
    int32_t addTimer(uint32_t listener, int32_t delayMs) override;
    uint32_t removeTimer(int32_t timerId) override;
    bool updateTimerDelay(int32_t timerId, int32_t delayMs) override;

    // The application's timers.
    Scheduler& scheduler() { return m_scheduler; }
    // The device extensions; the host registers them at start-up (host/ExtensionSetup).
    ExtensionHost& extensions() { return m_extensions; }

private:
    HostFileServices m_files; // slots 2-12 and the log file
    Scheduler m_scheduler;
    ExtensionHost m_extensions;
    ApplicationSession* m_session = nullptr;
};

} // namespace zelmo
