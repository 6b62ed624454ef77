// SPDX-License-Identifier: MIT
#include "window/MainViewBase.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/ApplicationSession.h"
#include "window/FramePresenter.h"
#include "window/TestPattern.h"

#include <QOpenGLFramebufferObject>
#include <QTimer>
#include <cmath>

namespace zelmo {

MainViewBase::MainViewBase(std::u16string baseDirectory, ScaleMode scale)
    : HostServices(std::move(baseDirectory)), m_scale(scale),
      m_presenter(std::make_unique<FramePresenter>())
{
}

MainViewBase::~MainViewBase()
{
    // GL objects go while their context is current.
    if (context()) {
        makeCurrent();
        m_frame.reset();
        m_presenter.reset();
        doneCurrent();
    }
}

VirtualMachine* MainViewBase::runningMachine()
{
    return session() ? session()->machine() : nullptr;
}

bool MainViewBase::deliver(const std::function<void(VirtualMachine&)>& call)
{
    return session() && session()->deliver(call);
}

QSize MainViewBase::logicalSize() const
{
    return const_cast<MainViewBase*>(this)->getOrientation() == 2 ? QSize(800, 480)
                                                                  : QSize(480, 800);
}

GLuint MainViewBase::logicalFramebuffer() const
{
    return m_frame ? m_frame->handle() : 0;
}

void MainViewBase::setScaleMode(ScaleMode mode)
{
    m_scale = mode;
    update();
}

void MainViewBase::initializeGL()
{
    initializeOpenGLFunctions();
}

bool MainViewBase::ensureLogicalScreen()
{
    if (!context()) return false;
    if (m_frame && m_frame->size() == logicalSize()) return true;
    // A new orientation starts a new, empty screen.
    m_frame = std::make_unique<QOpenGLFramebufferObject>(
        logicalSize(), QOpenGLFramebufferObject::CombinedDepthStencil);
    m_hasFrame = false;
    m_frame->bind();
    glViewport(0, 0, m_frame->width(), m_frame->height());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return m_frame->isValid();
}

bool MainViewBase::makeLogicalCurrent()
{
    if (!context()) return false;
    makeCurrent();
    if (!ensureLogicalScreen()) return false;
    m_frame->bind();
    glViewport(0, 0, m_frame->width(), m_frame->height());
    return true;
}

QImage MainViewBase::logicalImage()
{
    if (!m_hasFrame || !context()) return {};
    makeCurrent();
    // The frame's alpha is whatever the application left there; the screen shows it opaque.
    return m_frame->toImage().convertToFormat(QImage::Format_RGB32);
}

Presentation MainViewBase::currentPresentation() const
{
    const qreal ratio = devicePixelRatioF();
    const QSize target(qRound(width() * ratio), qRound(height() * ratio));
    return presentation(target, logicalSize(), m_scale);
}

void MainViewBase::paintGL()
{
    if (!ensureLogicalScreen()) return;
    m_frame->bind();
    glViewport(0, 0, m_frame->width(), m_frame->height());
    const bool drew = drawApplication();
    if (drew) m_hasFrame = true;

    const qreal ratio = devicePixelRatioF();
    const QSize target(qRound(width() * ratio), qRound(height() * ratio));
    const Presentation shown = presentation(target, logicalSize(), m_scale);
    glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    m_presenter->present(*this, m_frame->texture(), shown.rect, target, shown.smooth);
    if (drew) {
        ++m_framesDrawn;
        frameDrawn();
    }
}

// Runs the application's "draw gl" with the logical screen bound. The machine is entered only
// when it is idle: a paint that arrives while an invocation is in progress (a nested event
// loop) shows the last frame and asks for another paint once the invocation has ended.
bool MainViewBase::drawApplication()
{
    VirtualMachine* machine = runningMachine();
    if (!machine || session()->ended()) return false;
    if (machine->runningHandle != -1) {
        QTimer::singleShot(10, this, [this] { update(); });
        return false;
    }
    if (m_drawHandle == -1)
        m_drawHandle = machine->registerMethod(u"<openglapplication>.draw gl", 0);
    // Without the application object there is no receiver for the draw method.
    if (m_drawHandle != -1 && machine->applicationObject != 0) {
        const int32_t handle = m_drawHandle;
        if (!deliver([handle](VirtualMachine& vm) {
                vm.callMethod(handle, {static_cast<int32_t>(vm.applicationObject)}, {1}, 0);
            }))
            return false;
        // The application may have bound anything; the frame goes on from the logical screen.
        makeCurrent();
    }
    if (m_testPattern) paintTestPattern();
    return true;
}

void MainViewBase::paintTestPattern()
{
    const QSize size = logicalSize();
    const int frame = m_testPattern == 2 ? m_framesDrawn + 1 : 1;
    m_frame->bind();
    glEnable(GL_SCISSOR_TEST);
    for (const PatternRect& r : testPattern(size, frame)) {
        glScissor(r.x, size.height() - r.y - r.height, r.width, r.height);
        glClearColor(qRed(r.color) / 255.0f, qGreen(r.color) / 255.0f, qBlue(r.color) / 255.0f,
                     1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    if (m_testPattern == 2) invalidate(0, 0, 0, 0);
}

} // namespace zelmo
