// SPDX-License-Identifier: MIT
// The GL surface of the run without a window: on first use an OpenGL ES 2.0 context on an
// offscreen surface, with an 800 x 480 framebuffer (depth and stencil) as the logical screen
// the application draws into, as it would into the window's.
#pragma once

#include "OpenGLES/GlesSurface.h"

#include <QImage>
#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace zelmo {

class HeadlessGlSurface : public gles::GlesSurface {
public:
    HeadlessGlSurface();
    ~HeadlessGlSurface() override;

    bool makeCurrent(std::string& reason) override;
    // Whether the application has used GL (the screen exists).
    bool exists() const { return m_frame != nullptr; }
    // The logical screen as drawn so far (a null image before GL was first used).
    QImage image();

private:
    bool create(std::string& reason);

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLFramebufferObject> m_frame;
    std::string m_failure; // why the context could not be made; set once
};

} // namespace zelmo
