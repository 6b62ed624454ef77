// SPDX-License-Identifier: MIT
// The host services of the run without a window: a repaint request (service 19) runs the
// application's "<openglapplication>.draw gl" from the event loop into the offscreen screen, as
// the window's paint does, and --screenshot writes the Nth frame.
#pragma once

#include "host/HeadlessGlSurface.h"
#include "host/HostServices.h"

#include <QString>

namespace zelmo {

class HeadlessHost : public HostServices {
public:
    HeadlessHost(std::u16string baseDirectory, QString screenshotPath, int screenshotFrame);

    // Requests that arrive before the frame is drawn are one frame.
    void invalidate(int32_t, int32_t, int32_t, int32_t) override;
    bool redrawPending() const override { return m_redrawPending; }

    gles::GlesSurface* glSurface() override { return &m_surface; }
    int framesDrawn() const { return m_framesDrawn; }
    // Whether --screenshot asked for a frame that was never drawn.
    bool screenshotMissing() const { return !m_screenshotPath.isEmpty() && !m_screenshotWritten; }

private:
    void drawFrame();
    void writeScreenshot();

    HeadlessGlSurface m_surface;
    QString m_screenshotPath;
    int m_screenshotFrame;
    bool m_screenshotWritten = false;
    bool m_redrawPending = false;
    int m_framesDrawn = 0;
    int32_t m_drawHandle = -1; // "<openglapplication>.draw gl", looked up until found
};

} // namespace zelmo
