// SPDX-License-Identifier: MIT
#include "window/FramePresenter.h"

#include <QOpenGLShaderProgram>
#include <array>

namespace zelmo {

namespace {
// GLSL that both OpenGL ES 2.0 and desktop OpenGL accept. The texture coordinate follows from
// the position, so the one attribute is all the state the quad needs.
const char* const kVertexShader = R"(
attribute vec2 position;
varying vec2 coord;
void main()
{
    coord = position * 0.5 + 0.5;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";
const char* const kFragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
uniform sampler2D frame;
varying vec2 coord;
void main()
{
    gl_FragColor = texture2D(frame, coord);
}
)";

// The GL state present() changes, saved on construction and restored on destruction.
class SavedState {
public:
    explicit SavedState(QOpenGLFunctions& gl) : m_gl(gl)
    {
        gl.glGetIntegerv(GL_VIEWPORT, m_viewport.data());
        gl.glGetFloatv(GL_COLOR_CLEAR_VALUE, m_clearColor.data());
        gl.glGetBooleanv(GL_COLOR_WRITEMASK, m_colorMask.data());
        gl.glGetIntegerv(GL_CURRENT_PROGRAM, &m_program);
        gl.glGetIntegerv(GL_ACTIVE_TEXTURE, &m_activeTexture);
        gl.glActiveTexture(GL_TEXTURE0);
        gl.glGetIntegerv(GL_TEXTURE_BINDING_2D, &m_texture);
        gl.glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &m_arrayBuffer);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &m_attribEnabled);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_SIZE, &m_attribSize);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_TYPE, &m_attribType);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &m_attribNormalized);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &m_attribStride);
        gl.glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &m_attribBuffer);
        gl.glGetVertexAttribPointerv(0, GL_VERTEX_ATTRIB_ARRAY_POINTER, &m_attribPointer);
        for (size_t i = 0; i < kCaps.size(); ++i)
            m_caps[i] = gl.glIsEnabled(kCaps[i]);
    }
    ~SavedState()
    {
        QOpenGLFunctions& gl = m_gl;
        for (size_t i = 0; i < kCaps.size(); ++i)
            m_caps[i] ? gl.glEnable(kCaps[i]) : gl.glDisable(kCaps[i]);
        gl.glBindBuffer(GL_ARRAY_BUFFER, GLuint(m_attribBuffer));
        gl.glVertexAttribPointer(0, m_attribSize, GLenum(m_attribType),
                                 GLboolean(m_attribNormalized), m_attribStride, m_attribPointer);
        m_attribEnabled ? gl.glEnableVertexAttribArray(0) : gl.glDisableVertexAttribArray(0);
        gl.glBindBuffer(GL_ARRAY_BUFFER, GLuint(m_arrayBuffer));
        gl.glBindTexture(GL_TEXTURE_2D, GLuint(m_texture));
        gl.glActiveTexture(GLenum(m_activeTexture));
        gl.glUseProgram(GLuint(m_program));
        gl.glColorMask(m_colorMask[0], m_colorMask[1], m_colorMask[2], m_colorMask[3]);
        gl.glClearColor(m_clearColor[0], m_clearColor[1], m_clearColor[2], m_clearColor[3]);
        gl.glViewport(m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]);
    }

private:
    static constexpr std::array<GLenum, 6> kCaps = {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_STENCIL_TEST,
                                                    GL_BLEND,        GL_CULL_FACE,  GL_DITHER};
    QOpenGLFunctions& m_gl;
    std::array<GLint, 4> m_viewport{};
    std::array<GLfloat, 4> m_clearColor{};
    std::array<GLboolean, 4> m_colorMask{};
    GLint m_program = 0, m_activeTexture = GL_TEXTURE0, m_texture = 0, m_arrayBuffer = 0;
    GLint m_attribEnabled = 0, m_attribSize = 4, m_attribType = GL_FLOAT;
    GLint m_attribNormalized = 0, m_attribStride = 0, m_attribBuffer = 0;
    void* m_attribPointer = nullptr;
    std::array<GLboolean, kCaps.size()> m_caps{};
};
} // namespace

FramePresenter::FramePresenter() = default;
FramePresenter::~FramePresenter() = default;

void FramePresenter::present(QOpenGLFunctions& gl, GLuint texture, const QRect& rect, QSize target,
                             bool smooth)
{
    if (!m_program) {
        m_program = std::make_unique<QOpenGLShaderProgram>();
        m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader);
        m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader);
        m_program->bindAttributeLocation("position", 0);
        m_program->link();
    }
    SavedState saved(gl);
    for (GLenum cap :
         {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_BLEND, GL_CULL_FACE, GL_DITHER})
        gl.glDisable(cap);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.glViewport(0, 0, target.width(), target.height());
    gl.glClearColor(0, 0, 0, 1);
    gl.glClear(GL_COLOR_BUFFER_BIT);
    if (!m_program->isLinked() || rect.isEmpty()) return;

    // GL counts rows from the bottom.
    gl.glViewport(rect.x(), target.height() - rect.y() - rect.height(), rect.width(),
                  rect.height());
    m_program->bind();
    m_program->setUniformValue("frame", 0);
    gl.glBindTexture(GL_TEXTURE_2D, texture);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    static const GLfloat quad[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, quad);
    gl.glEnableVertexAttribArray(0);
    gl.glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

} // namespace zelmo
