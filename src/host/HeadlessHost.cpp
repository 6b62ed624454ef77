// SPDX-License-Identifier: MIT
#include "host/HeadlessHost.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/ApplicationSession.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace zelmo {

HeadlessHost::HeadlessHost(std::u16string baseDirectory, QString screenshotPath,
                           int screenshotFrame)
    : HostServices(std::move(baseDirectory)), m_screenshotPath(std::move(screenshotPath)),
      m_screenshotFrame(screenshotFrame)
{
}

void HeadlessHost::invalidate(int32_t, int32_t, int32_t, int32_t)
{
    if (m_redrawPending) return;
    m_redrawPending = true;
    // The request comes from a native while the machine runs; the frame is drawn afterwards.
    QTimer::singleShot(0, QCoreApplication::instance(), [this] { drawFrame(); });
}

void HeadlessHost::drawFrame()
{
    m_redrawPending = false;
    ApplicationSession* session = this->session();
    if (!session || session->ended()) return;
    // Every OpenGL call makes the logical screen current itself (the first one creates it), so
    // an application that draws only bitmaps never needs a context.
    session->deliver([this](VirtualMachine& vm) {
        if (m_drawHandle == -1) m_drawHandle = vm.registerMethod(u"<openglapplication>.draw gl", 0);
        // As in the window: without the application object nothing receives the call.
        if (m_drawHandle != -1 && vm.applicationObject != 0)
            vm.callMethod(m_drawHandle, {int32_t(vm.applicationObject)}, {1}, 0);
    });
    ++m_framesDrawn;
    // Written even when this frame ended the run (nothing left to wake it).
    if (!m_screenshotPath.isEmpty() && m_framesDrawn == m_screenshotFrame) writeScreenshot();
}

void HeadlessHost::writeScreenshot()
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

} // namespace zelmo
