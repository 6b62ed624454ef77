// SPDX-License-Identifier: MIT
// Draws the logical frame (a texture) scaled into the widget's framebuffer with black around
// it. The application's GL state lives in the same context, so everything this touches is put
// back afterwards.
#pragma once

#include <QOpenGLFunctions>
#include <QRect>
#include <memory>

class QOpenGLShaderProgram;

namespace zelmo {

class FramePresenter {
public:
    FramePresenter();
    ~FramePresenter();

    // Fills the bound framebuffer (of `target` size) black and draws `texture` into `rect`
    // (y downwards from the top), nearest or linear. Needs the current context.
    void present(QOpenGLFunctions& gl, GLuint texture, const QRect& rect, QSize target,
                 bool smooth);

private:
    std::unique_ptr<QOpenGLShaderProgram> m_program;
};

} // namespace zelmo
