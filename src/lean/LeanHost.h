// SPDX-License-Identifier: MIT
// The host of zelmo-vm's lean run: the basic host services (BasicHostServices, shared with the
// full runtime's hosts), the application's timers (TimerQueue) and repaint requests. It has no
// files, no log file and no device extensions: the lean run takes only applications whose code
// cannot reach them (LeanRun.h), so those slots are never called; if one is, the run stops
// with an internal error rather than answering differently from the full runtime.
#pragma once

#include "host/BasicHostServices.h"
#include "lean/TimerQueue.h"

#include <utility>

namespace zelmo {

class LeanHost final : public BasicHostServices {
public:
    using BasicHostServices::BasicHostServices;

    // The application asked to quit (slot 23): status 0, once the current call has unwound.
    bool exitRequested() const { return m_exitRequested; }
    // A repaint was requested and not yet drawn; takeRedraw() clears it.
    bool redrawPending() const { return m_redrawPending; }
    bool takeRedraw() { return std::exchange(m_redrawPending, false); }
    TimerQueue& timers() { return m_timers; }

    void exitApplication() override { m_exitRequested = true; }
    void invalidate(int32_t, int32_t, int32_t, int32_t) override { m_redrawPending = true; }
    int32_t addTimer(uint32_t listener, int32_t delayMs) override;
    uint32_t removeTimer(int32_t timerId) override { return m_timers.removeTimer(timerId); }
    bool updateTimerDelay(int32_t timerId, int32_t delayMs) override;
    // No extension here: what the full runtime says for an id nothing provides.
    void callExtension(int32_t extension, int32_t operation, ExtensionStack& stack) override;

    // Never reached (see above).
    std::unique_ptr<TARNEL::OutputStream> openFileWriter(const std::u16string&, int32_t) override;
    std::unique_ptr<TARNEL::InputStream> openFileReader(const std::u16string&) override;
    bool deleteFile(const std::u16string&) override;
    bool fileExists(const std::u16string&) override;
    bool renameFile(const std::u16string&, const std::u16string&) override;
    bool listDirectory(const std::u16string&, std::vector<std::u16string>&,
                       std::vector<std::u16string>&, int32_t) override;
    bool createDirectory(const std::u16string&) override;
    bool deleteDirectory(const std::u16string&) override;
    bool renameDirectory(const std::u16string&, const std::u16string&) override;
    bool directoryExists(const std::u16string&) override;
    bool setLogFile(const std::u16string&) override;

private:
    TimerQueue m_timers;
    bool m_exitRequested = false;
    bool m_redrawPending = false;
};

} // namespace zelmo
