// SPDX-License-Identifier: MIT
// One run of an application, shared by the headless host and the window: it owns the machine,
// loads index.mcb and runs ::global::init and main, delivers every later entry call (timers,
// and the window's key, pointer, visibility and draw events), and turns the ways a call can end
// (exit request, fatal error, escaped managed error) into the one exit status of the run.
//
// The session binds itself to its host for its whole life: the host's exit service, timers and
// extension calls come back here. The host must outlive the session.
#pragma once

#include "host/Scheduler.h"

#include <functional>
#include <memory>
#include <string>

namespace zelmo {

class HostServices;
class VirtualMachine;

class ApplicationSession : private TimerSink {
public:
    explicit ApplicationSession(HostServices& host);
    // `image` is the host directory's index.mcb already read by readImage() (or null): start()
    // runs it instead of reading it again.
    ApplicationSession(HostServices& host, std::unique_ptr<VirtualMachine> image);
    ~ApplicationSession() override;
    ApplicationSession(const ApplicationSession&) = delete;
    ApplicationSession& operator=(const ApplicationSession&) = delete;

    // index.mcb of `directory` read into a new machine, nothing run yet, so that a host can see
    // what the code uses (VirtualMachine::nativeOperationsUsed) before it starts anything.
    // Null when the image cannot be read: start() then says why.
    static std::unique_ptr<VirtualMachine> readImage(const std::u16string& directory);

    HostServices& host() { return m_host; }
    // The machine; null before start() and once the session is gone.
    VirtualMachine* machine() { return m_machine.get(); }

    // Creates the machine, loads index.mcb from the host's directory and runs ::global::init
    // and main. Whether the application goes on running (false: it has ended, see exitStatus).
    bool start();
    // Runs one call into the machine from the event loop. False when the application had
    // already ended (nothing runs) or ended in this call.
    bool deliver(const std::function<void(VirtualMachine&)>& call);
    // The application asked to quit (host service exitApplication): status 0.
    void requestExit() { end(0); }
    // The host cannot go on (e.g. a screenshot that cannot be written).
    void stop(int status) { end(status); }

    // Keeps a headless run open without timers while scripted input is still to come; the
    // next delivery or timer checks again once released.
    void holdOpen(bool hold) { m_holdOpen = hold; }

    bool ended() const { return m_ended; }
    int exitStatus() const { return m_status; }

    // The run without a window: start, then serve timers from the Qt event loop until the
    // application ends or has nothing left that could wake it (no timer, no extension with a
    // delivery due). The exit status.
    int runHeadless();

private:
    void timerExpired(uint32_t listener) override;
    // Runs `call`, turning its end into the session's outcome; whether it returned normally.
    bool guarded(const std::function<void()>& call);
    void end(int status);
    void endIfIdle();

    HostServices& m_host;
    std::unique_ptr<VirtualMachine> m_image; // read before the start, moved into m_machine
    std::unique_ptr<VirtualMachine> m_machine;
    bool m_ended = false;
    int m_status = 0;
    bool m_endWhenIdle = false; // headless: no timer left means nothing can happen any more
    bool m_holdOpen = false;
};

} // namespace zelmo
