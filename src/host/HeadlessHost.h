// SPDX-License-Identifier: MIT
// The host services of the run without a window: a repaint request (service 19) runs the
// application's "<openglapplication>.draw gl" from the event loop, as the window's paint does.
// Where the frame goes (the offscreen screen, --screenshot) is HeadlessScreenHost's.
#pragma once

#include "host/HostServices.h"

#include <memory>
#include <vector>

namespace zelmo {

class VirtualMachine;
struct ScriptedEvent;

class HeadlessHost : public HostServices {
public:
    explicit HeadlessHost(std::u16string baseDirectory);

    // Requests that arrive before the frame is drawn are one frame.
    void invalidate(int32_t, int32_t, int32_t, int32_t) override;
    bool redrawPending() const override { return m_redrawPending; }
    int framesDrawn() const { return m_framesDrawn; }

protected:
    // After frame `framesDrawn()` was drawn, also when it ended the run.
    virtual void frameDrawn() {}

private:
    void drawFrame();

    bool m_redrawPending = false;
    int m_framesDrawn = 0;
    int32_t m_drawHandle = -1; // "<openglapplication>.draw gl", looked up until found
};

// Runs `image` (read by ApplicationSession::readImage, or null) on `host` with the scripted
// input `events`, drawing the first frame after start-up as a window does when it is first
// shown; the exit status.
int runHeadless(HeadlessHost& host, std::unique_ptr<VirtualMachine> image,
                std::vector<ScriptedEvent> events);

} // namespace zelmo
