// SPDX-License-Identifier: MIT
#include "host/HeadlessHost.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/ApplicationSession.h"
#include "host/InputScript.h"
#include "host/SessionSteps.h"

#include <QCoreApplication>
#include <QTimer>

namespace zelmo {

HeadlessHost::HeadlessHost(std::u16string baseDirectory) : HostServices(std::move(baseDirectory)) {}

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
    session->deliver([this](VirtualMachine& vm) { drawApplicationFrame(vm, m_drawHandle); });
    ++m_framesDrawn;
    frameDrawn();
}

int runHeadless(HeadlessHost& host, std::unique_ptr<VirtualMachine> image,
                std::vector<ScriptedEvent> events)
{
    ApplicationSession session(host, std::move(image));
    InputPlayer input(session, std::move(events));
    input.start();
    host.invalidate(0, 0, 800, 480);
    return session.runHeadless();
}

} // namespace zelmo
