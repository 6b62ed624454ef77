// SPDX-License-Identifier: MIT
#include "host/HeadlessScreenHost.h"

#include "host/ApplicationSession.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <QByteArray>
#include <QtGlobal>
#include <cstdio>

namespace zelmo {

HeadlessScreenHost::HeadlessScreenHost(std::u16string baseDirectory, QString screenshotPath,
                                       int screenshotFrame)
    : HeadlessHost(std::move(baseDirectory)), m_screenshotPath(std::move(screenshotPath)),
      m_screenshotFrame(screenshotFrame)
{
}

void HeadlessScreenHost::frameDrawn()
{
    if (!m_screenshotPath.isEmpty() && framesDrawn() == m_screenshotFrame) writeScreenshot();
}

void HeadlessScreenHost::writeScreenshot()
{
    QImage image = m_surface.image();
    if (image.isNull()) { // no GL drawing at all: the screen is black
        image = QImage(800, 480, QImage::Format_RGB32);
        image.fill(Qt::black);
    }
    m_screenshotWritten = image.save(m_screenshotPath, "PNG");
    if (!m_screenshotWritten) {
        std::fprintf(stderr, "zelmo-vm: cannot write the screenshot %s\n",
                     m_screenshotPath.toLocal8Bit().constData());
        session()->stop(1);
        return;
    }
    session()->requestExit();
}

namespace {

bool surfacelessEglWorks()
{
    const EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return false;
    EGLint major = 0, minor = 0;
    const bool works = eglInitialize(display, &major, &minor) == EGL_TRUE;
    if (works) eglTerminate(display);
    return works;
}

} // namespace

void chooseHeadlessPlatform(HeadlessGraphics graphics)
{
    if (graphics == HeadlessGraphics::None || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    // With a display, Qt's offscreen platform still draws bitmaps as without one and gets
    // (desktop) OpenGL from the display.
    if (graphics == HeadlessGraphics::OpenGl && qEnvironmentVariableIsEmpty("DISPLAY") &&
        surfacelessEglWorks()) {
        qputenv("EGL_PLATFORM", "surfaceless");
        qputenv("QT_QPA_PLATFORM", "eglfs");
        qputenv("QT_QPA_EGLFS_INTEGRATION", "none");
        qputenv("QT_QPA_EGLFS_FB", "/dev/null");
        qputenv("QT_QPA_EGLFS_DISABLE_INPUT", "1");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace zelmo
