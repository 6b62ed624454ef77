// SPDX-License-Identifier: MIT
#include "host/HeadlessGlSurface.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>

namespace zelmo {

namespace {
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 480;
} // namespace

HeadlessGlSurface::HeadlessGlSurface() = default;

HeadlessGlSurface::~HeadlessGlSurface()
{
    // The framebuffer is released in its own context.
    if (m_frame && m_context && m_surface) m_context->makeCurrent(m_surface.get());
    m_frame.reset();
    if (m_context) m_context->doneCurrent();
}

bool HeadlessGlSurface::create(std::string& reason)
{
    QSurfaceFormat format;
    // Qt's offscreen platform offers desktop GL only (on GLX), and asking it for ES ends the
    // process with an X error; its ES 2.0 compatibility runs the same programs once they say
    // "#version 100".
    const bool desktopOnly = QGuiApplication::platformName() == QLatin1String("offscreen");
    format.setRenderableType(desktopOnly ? QSurfaceFormat::OpenGL : QSurfaceFormat::OpenGLES);
    format.setVersion(2, 0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(format);
    if (!m_context->create()) {
        reason = "the platform gives no OpenGL context";
        return false;
    }
    m_surface = std::make_unique<QOffscreenSurface>();
    m_surface->setFormat(m_context->format());
    m_surface->create();
    if (!m_surface->isValid() || !m_context->makeCurrent(m_surface.get())) {
        reason = "the OpenGL context cannot be made current offscreen";
        return false;
    }
    m_frame = std::make_unique<QOpenGLFramebufferObject>(
        kScreenWidth, kScreenHeight, QOpenGLFramebufferObject::CombinedDepthStencil);
    if (!m_frame->isValid()) {
        m_frame.reset();
        reason = "no framebuffer for the screen";
        return false;
    }
    m_frame->bind();
    m_context->functions()->glViewport(0, 0, kScreenWidth, kScreenHeight);
    return true;
}

bool HeadlessGlSurface::makeCurrent(std::string& reason)
{
    if (!m_failure.empty()) {
        reason = m_failure;
        return false;
    }
    if (!m_frame) {
        if (!create(m_failure)) {
            reason = m_failure;
            return false;
        }
        return true;
    }
    if (QOpenGLContext::currentContext() != m_context.get() &&
        !m_context->makeCurrent(m_surface.get())) {
        reason = "the OpenGL context cannot be made current offscreen";
        return false;
    }
    m_frame->bind();
    return true;
}

QImage HeadlessGlSurface::image()
{
    std::string reason;
    if (!m_frame || !makeCurrent(reason)) return {};
    return m_frame->toImage(); // row 0 is the top of the screen
}

} // namespace zelmo
