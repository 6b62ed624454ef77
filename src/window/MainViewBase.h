// SPDX-License-Identifier: MIT
// The OpenGL side of the window: the logical screen the application draws into, the paint
// that runs the application's "draw gl" method, and the presentation of that screen scaled
// into the widget. It is the host's one service implementation (HostServices) plus the two
// services that need the widget: repaint requests and the widget itself.
#pragma once

#include "host/HostServices.h"
#include "window/Presentation.h"

#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <functional>
#include <memory>

class QOpenGLFramebufferObject;

namespace zelmo {

class FramePresenter;
class VirtualMachine;

class MainViewBase : public QOpenGLWidget, public HostServices, protected QOpenGLFunctions {
public:
    MainViewBase(std::u16string baseDirectory, ScaleMode scale);
    ~MainViewBase() override;

    // Service 19: a repaint of the whole surface (the rectangle is not needed); Qt merges the
    // requests that arrive before the next paint into one.
    void invalidate(int32_t, int32_t, int32_t, int32_t) override { requestRedraw(); }
    // Service 24: the widget that owns the GL context, as a MainViewBase*.
    void* getWidget() override { return static_cast<MainViewBase*>(widget()); }

    virtual void requestRedraw() { update(); }
    // Starts the application session's machine on index.mcb (initialiser and main); whether
    // the application runs on.
    virtual bool loadApplication() = 0;
    virtual MainViewBase* widget() { return this; }

    // The screen the application sees: 800 x 480, or 480 x 800 while portrait.
    QSize logicalSize() const;
    // The framebuffer the application draws into (what it knows as framebuffer 0); 0 until
    // the context exists.
    GLuint logicalFramebuffer() const;
    // Makes the view's context current with the logical framebuffer bound and the viewport
    // covering it. False when there is no context yet.
    bool makeLogicalCurrent();
    // A copy of the logical screen's last frame (null image before the first).
    QImage logicalImage();

    void setScaleMode(ScaleMode mode);
    // Tests only: paint the fixed test picture after the application's drawing (0: off,
    // 1: still, 2: changing every frame with a repaint request after each).
    void setTestPattern(int mode) { m_testPattern = mode; }
    // Frames the application drew so far.
    int framesDrawn() const { return m_framesDrawn; }

protected:
    // The session's machine; null before start-up.
    VirtualMachine* runningMachine();
    // One call into the machine through the session; false when nothing ran or the
    // application ended in it.
    bool deliver(const std::function<void(VirtualMachine&)>& call);

    void initializeGL() override;
    void resizeGL(int, int) override {} // the presentation sets its own viewports
    void paintGL() override;
    // After each frame the application drew, with the context current.
    virtual void frameDrawn() {}
    // Where the logical screen is shown, in device pixels of the widget.
    Presentation currentPresentation() const;

private:
    bool ensureLogicalScreen();
    bool drawApplication();
    void paintTestPattern();

    int32_t m_drawHandle = -1; // "<openglapplication>.draw gl", looked up until found
    ScaleMode m_scale;
    std::unique_ptr<QOpenGLFramebufferObject> m_frame;
    std::unique_ptr<FramePresenter> m_presenter;
    int m_testPattern = 0;
    int m_framesDrawn = 0;
    bool m_hasFrame = false;
};

} // namespace zelmo
