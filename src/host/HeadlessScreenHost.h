// SPDX-License-Identifier: MIT
// The run without a window for an application that draws: the Qt platform it starts on and the
// offscreen screen its frames go to, of which --screenshot writes the Nth.
#pragma once

#include "host/HeadlessGlSurface.h"
#include "host/HeadlessHost.h"
#include "host/HeadlessPlatform.h"

#include <QString>

namespace zelmo {

class HeadlessScreenHost : public HeadlessHost {
public:
    HeadlessScreenHost(std::u16string baseDirectory, QString screenshotPath, int screenshotFrame);

    gles::GlesSurface* glSurface() override { return &m_surface; }
    // Whether --screenshot asked for a frame that was never drawn.
    bool screenshotMissing() const { return !m_screenshotPath.isEmpty() && !m_screenshotWritten; }

private:
    void frameDrawn() override;
    void writeScreenshot();

    HeadlessGlSurface m_surface;
    QString m_screenshotPath;
    int m_screenshotFrame;
    bool m_screenshotWritten = false;
};

// Picks the Qt platform for `graphics` when neither DISPLAY nor QT_QPA_PLATFORM is set: for
// OpenGL, Mesa's surfaceless EGL when it initialises (an OpenGL ES context without any display
// server); otherwise Qt's offscreen platform (bitmaps draw the same; OpenGL only with a
// display). An explicit QT_QPA_PLATFORM is left to Qt; None picks nothing.
void chooseHeadlessPlatform(HeadlessGraphics graphics);

} // namespace zelmo
