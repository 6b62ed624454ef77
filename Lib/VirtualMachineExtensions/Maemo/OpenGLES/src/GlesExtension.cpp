// SPDX-License-Identifier: MIT
#include "OpenGLES/GlesExtension.h"

#include "OpenGLES/GlesEnums.h"
#include "OpenGLES/GlesExtent.h"
#include "OpenGLES/GlesSurface.h"
#include "OpenGLES/GuestArguments.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/VirtualMachine.h"

#include <QOpenGLContext>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>

namespace zelmo::gles {

namespace {

// Pops the N arguments on top; element 0 is the first (deepest) one.
template <int N> std::array<int32_t, N> take(ExtensionStack& stack)
{
    std::array<int32_t, N> words{};
    for (int i = N - 1; i >= 0; --i)
        words[i] = stack.popWord();
    return words;
}

// Reads the N arguments on top without popping them, for calls that check before they act.
template <int N> std::array<int32_t, N> peek(ExtensionStack& stack)
{
    std::array<int32_t, N> words{};
    for (int i = 0; i < N; ++i)
        words[i] = stack.peekWord(static_cast<uint32_t>(N - 1 - i));
    return words;
}

void drop(ExtensionStack& stack, int count)
{
    for (int i = 0; i < count; ++i)
        stack.popWord();
}

GLuint u(int32_t word)
{
    return static_cast<GLuint>(word);
}
// GLfloat and GLclampf arguments are the float's bits.
GLfloat f(int32_t word)
{
    return std::bit_cast<GLfloat>(word);
}
GLboolean b(int32_t word)
{
    return static_cast<GLboolean>(word & 0xFF);
}

std::string hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

[[noreturn]] void unknownEnum(const char* glName, const char* what, uint32_t value)
{
    throwError(kInvalidArgument, std::string(glName) + ": cannot size " + what + " " + hex(value));
}

} // namespace

GlesExtension::GlesExtension(VirtualMachine& vm, GlesSurface& surface,
                             const BitmapTexturesFactory& bitmapTextures)
    : m_vm(vm), m_surface(surface), m_clientArrays(vm)
{
    if (bitmapTextures)
        m_bitmapTextures = bitmapTextures([&surface] {
            std::string reason;
            return surface.makeCurrent(reason);
        });
}

GlesExtension::~GlesExtension() = default;

QOpenGLFunctions& GlesExtension::gl()
{
    std::string reason;
    if (!m_surface.makeCurrent(reason)) raiseFatal("no OpenGL context: " + reason);
    QOpenGLContext* current = QOpenGLContext::currentContext();
    if (!current) raiseFatal("no OpenGL context is current");
    if (current != m_context) {
        m_gl.initializeOpenGLFunctions();
        m_context = current;
    }
    return m_gl;
}

void GlesExtension::call(int32_t operation, ExtensionStack& stack)
{
    callBound(static_cast<int>(static_cast<uint32_t>(operation) & 0xFF), stack);
}

void GlesExtension::callBound(int operation, ExtensionStack& stack)
{
    // One row per operation: the table reads like the list of bindings it is.
    // clang-format off
    switch (operation) {
    case 1: { auto a = take<1>(stack); gl().glActiveTexture(u(a[0])); return; }
    case 2: { auto a = take<2>(stack); gl().glAttachShader(u(a[0]), u(a[1])); return; }
    case 4: bindBuffer(stack); return;
    case 7: { auto a = take<2>(stack); gl().glBindTexture(u(a[0]), u(a[1])); return; }
    case 8: { auto a = take<4>(stack); gl().glBlendColor(f(a[0]), f(a[1]), f(a[2]), f(a[3])); return; }
    case 9: { auto a = take<1>(stack); gl().glBlendEquation(u(a[0])); return; }
    case 10: drop(stack, 2); return; // a slot that calls nothing
    case 11: { auto a = take<2>(stack); gl().glBlendFunc(u(a[0]), u(a[1])); return; }
    case 12: { auto a = take<4>(stack); gl().glBlendFuncSeparate(u(a[0]), u(a[1]), u(a[2]), u(a[3])); return; }
    case 13: bufferData(stack, false); return;
    case 14: bufferData(stack, true); return;
    case 16: { auto a = take<1>(stack); gl().glClear(u(a[0])); return; }
    case 17: { auto a = take<4>(stack); gl().glClearColor(f(a[0]), f(a[1]), f(a[2]), f(a[3])); return; }
    case 19: { auto a = take<1>(stack); gl().glClearStencil(a[0]); return; }
    case 20: { auto a = take<4>(stack); gl().glColorMask(b(a[0]), b(a[1]), b(a[2]), b(a[3])); return; }
    case 21: { auto a = take<1>(stack); gl().glCompileShader(u(a[0])); return; }
    case 22: compressedImage(stack, false); return;
    case 23: compressedImage(stack, true); return;
    case 24: { auto a = take<8>(stack); gl().glCopyTexImage2D(u(a[0]), a[1], u(a[2]), a[3], a[4], a[5], a[6], a[7]); return; }
    case 25: { auto a = take<8>(stack); gl().glCopyTexSubImage2D(u(a[0]), a[1], a[2], a[3], a[4], a[5], a[6], a[7]); return; }
    case 26: { const GLuint program = gl().glCreateProgram(); stack.pushWord(static_cast<int32_t>(program)); return; }
    case 27: { auto a = take<1>(stack); stack.pushWord(static_cast<int32_t>(gl().glCreateShader(u(a[0])))); return; }
    case 28: { auto a = take<1>(stack); gl().glCullFace(u(a[0])); return; }
    case 29: deleteNames(stack, false); return;
    case 31: { auto a = take<1>(stack); gl().glDeleteProgram(u(a[0])); return; }
    case 33: { auto a = take<1>(stack); gl().glDeleteShader(u(a[0])); return; }
    case 34: deleteNames(stack, true); return;
    case 35: { auto a = take<1>(stack); gl().glDepthFunc(u(a[0])); return; }
    case 36: { auto a = take<1>(stack); gl().glDepthMask(b(a[0])); return; }
    case 38: { auto a = take<2>(stack); gl().glDetachShader(u(a[0]), u(a[1])); return; }
    case 39: { auto a = take<1>(stack); gl().glDisable(u(a[0])); return; }
    case 40: { auto a = take<1>(stack); gl().glDisableVertexAttribArray(u(a[0])); return; }
    case 41: drawArrays(stack); return;
    case 42: drawElements(stack); return;
    case 43: { auto a = take<1>(stack); gl().glEnable(u(a[0])); return; }
    case 44: { auto a = take<1>(stack); gl().glEnableVertexAttribArray(u(a[0])); return; }
    case 45: gl().glFinish(); return;
    case 46: gl().glFlush(); return;
    case 49: { auto a = take<1>(stack); gl().glFrontFace(u(a[0])); return; }
    case 61: { const GLenum error = gl().glGetError(); stack.pushWord(static_cast<int32_t>(error)); return; }
    case 81: { auto a = take<2>(stack); gl().glHint(u(a[0]), u(a[1])); return; }
    case 82: { auto a = take<1>(stack); stack.pushWord(gl().glIsBuffer(u(a[0]))); return; }
    case 83: { auto a = take<1>(stack); stack.pushWord(gl().glIsEnabled(u(a[0]))); return; }
    case 85: { auto a = take<1>(stack); stack.pushWord(gl().glIsProgram(u(a[0]))); return; }
    case 87: { auto a = take<1>(stack); stack.pushWord(gl().glIsShader(u(a[0]))); return; }
    case 88: { auto a = take<1>(stack); stack.pushWord(gl().glIsTexture(u(a[0]))); return; }
    case 89: { auto a = take<1>(stack); gl().glLineWidth(f(a[0])); return; }
    case 90: { auto a = take<1>(stack); gl().glLinkProgram(u(a[0])); return; }
    case 91: pixelStore(stack); return;
    case 92: { auto a = take<2>(stack); gl().glPolygonOffset(f(a[0]), f(a[1])); return; }
    case 96: { auto a = take<2>(stack); gl().glSampleCoverage(f(a[0]), b(a[1])); return; }
    case 97: { auto a = take<4>(stack); gl().glScissor(a[0], a[1], a[2], a[3]); return; }
    case 100: { auto a = take<3>(stack); gl().glStencilFunc(u(a[0]), a[1], u(a[2])); return; }
    case 101: { auto a = take<4>(stack); gl().glStencilFuncSeparate(u(a[0]), u(a[1]), a[2], u(a[3])); return; }
    case 102: { auto a = take<1>(stack); gl().glStencilMask(u(a[0])); return; }
    case 103: { auto a = take<2>(stack); gl().glStencilMaskSeparate(u(a[0]), u(a[1])); return; }
    case 104: { auto a = take<3>(stack); gl().glStencilOp(u(a[0]), u(a[1]), u(a[2])); return; }
    case 105: { auto a = take<4>(stack); gl().glStencilOpSeparate(u(a[0]), u(a[1]), u(a[2]), u(a[3])); return; }
    case 106: textureImage(stack, false); return;
    case 107: { auto a = take<3>(stack); gl().glTexParameterf(u(a[0]), u(a[1]), f(a[2])); return; }
    case 108: textureParameterVector(stack, true); return;
    case 109: { auto a = take<3>(stack); gl().glTexParameteri(u(a[0]), u(a[1]), a[2]); return; }
    case 110: textureParameterVector(stack, false); return;
    case 111: textureImage(stack, true); return;
    case 112: { auto a = take<2>(stack); gl().glUniform1f(a[0], f(a[1])); return; }
    case 114: { auto a = take<2>(stack); gl().glUniform1i(a[0], a[1]); return; }
    case 116: { auto a = take<3>(stack); gl().glUniform2f(a[0], f(a[1]), f(a[2])); return; }
    case 118: { auto a = take<3>(stack); gl().glUniform2i(a[0], a[1], a[2]); return; }
    case 120: { auto a = take<4>(stack); gl().glUniform3f(a[0], f(a[1]), f(a[2]), f(a[3])); return; }
    case 122: { auto a = take<4>(stack); gl().glUniform3i(a[0], a[1], a[2], a[3]); return; }
    case 124: { auto a = take<5>(stack); gl().glUniform4f(a[0], f(a[1]), f(a[2]), f(a[3]), f(a[4])); return; }
    case 126: { auto a = take<5>(stack); gl().glUniform4i(a[0], a[1], a[2], a[3], a[4]); return; }
    case 113: case 115: case 117: case 119: case 121: case 123: case 125: case 127:
    case 128: case 129: case 130:
        uniformVector(stack, operation);
        return;
    case 131: { auto a = take<1>(stack); gl().glUseProgram(u(a[0])); return; }
    case 132: { auto a = take<1>(stack); gl().glValidateProgram(u(a[0])); return; }
    case 133: { auto a = take<2>(stack); gl().glVertexAttrib1f(u(a[0]), f(a[1])); return; }
    case 135: { auto a = take<3>(stack); gl().glVertexAttrib2f(u(a[0]), f(a[1]), f(a[2])); return; }
    case 137: { auto a = take<4>(stack); gl().glVertexAttrib3f(u(a[0]), f(a[1]), f(a[2]), f(a[3])); return; }
    case 139: { auto a = take<5>(stack); gl().glVertexAttrib4f(u(a[0]), f(a[1]), f(a[2]), f(a[3]), f(a[4])); return; }
    case 134: vertexAttribVector(stack, 1); return;
    case 136: vertexAttribVector(stack, 2); return;
    case 138: vertexAttribVector(stack, 3); return;
    case 140: vertexAttribVector(stack, 4); return;
    case 141: vertexAttribPointer(stack); return;
    case 142: { auto a = take<4>(stack); gl().glViewport(a[0], a[1], a[2], a[3]); return; }
    case 143: {
        const auto a = peek<3>(stack);
        const std::string name = latin1String(m_vm, u(a[2]));
        drop(stack, 3);
        gl().glBindAttribLocation(u(a[0]), u(a[1]), name.c_str());
        return;
    }
    case 144: generateNames(stack, false); return;
    case 145: generateNames(stack, true); return;
    case 146:
    case 151: {
        const auto a = peek<2>(stack);
        const std::string name = latin1String(m_vm, u(a[1]));
        drop(stack, 2);
        QOpenGLFunctions& functions = gl();
        const GLint location = operation == 146
                                   ? functions.glGetAttribLocation(u(a[0]), name.c_str())
                                   : functions.glGetUniformLocation(u(a[0]), name.c_str());
        stack.pushWord(location);
        return;
    }
    case 147: getObjectParameter(stack, true); return;
    case 148: infoLog(stack, true); return;
    case 149: getObjectParameter(stack, false); return;
    case 150: infoLog(stack, false); return;
    case 152: shaderSource(stack); return;
    case 153: {
        const uint32_t reference = u(stack.peekWord());
        if (reference == 0) throwError(kNullPointer, "NULL pointer");
        if (!m_bitmapTextures) throwError(kVMException, "Invalid typeid on bitmap");
        const uint32_t texture = m_bitmapTextures->upload(m_vm, reference, [this] { gl(); });
        stack.popWord();
        stack.pushWord(static_cast<int32_t>(texture));
        return;
    }
    default:
        throwError(kVMException, "Invalid opcode in OpenGL: " + std::to_string(operation));
    }
    // clang-format on
}

void GlesExtension::bufferData(ExtensionStack& stack, bool sub)
{
    // glBufferData(target, size, data, usage); glBufferSubData(target, offset, size, data).
    const auto a = peek<4>(stack);
    const char* name = sub ? "glBufferSubData" : "glBufferData";
    const int32_t size = sub ? a[2] : a[1];
    const GuestBytes data = resolveArray(m_vm, u(sub ? a[3] : a[2]), name);
    requireBytes(data, countBytes(size, 1), name);
    drop(stack, 4);
    if (sub)
        gl().glBufferSubData(u(a[0]), a[1], size, data.data);
    else
        gl().glBufferData(u(a[0]), size, data.data, u(a[3]));
}

void GlesExtension::compressedImage(ExtensionStack& stack, bool sub)
{
    const char* name = sub ? "glCompressedTexSubImage2D" : "glCompressedTexImage2D";
    const int words = sub ? 9 : 8;
    std::array<int32_t, 9> a{};
    for (int i = 0; i < words; ++i)
        a[i] = stack.peekWord(static_cast<uint32_t>(words - 1 - i));
    const int32_t imageSize = a[words - 2];
    const GuestBytes data = resolveArray(m_vm, u(a[words - 1]), name);
    requireBytes(data, countBytes(imageSize, 1), name);
    drop(stack, words);
    if (sub)
        gl().glCompressedTexSubImage2D(u(a[0]), a[1], a[2], a[3], a[4], a[5], u(a[6]), imageSize,
                                       data.data);
    else
        gl().glCompressedTexImage2D(u(a[0]), a[1], u(a[2]), a[3], a[4], a[5], imageSize, data.data);
}

void GlesExtension::textureImage(ExtensionStack& stack, bool sub)
{
    // glTexImage2D(target, level, internalformat, width, height, border, format, type, pixels)
    // glTexSubImage2D(target, level, xoffset, yoffset, width, height, format, type, pixels)
    const char* name = sub ? "glTexSubImage2D" : "glTexImage2D";
    const auto a = peek<9>(stack);
    const int32_t width = sub ? a[4] : a[3];
    const int32_t height = sub ? a[5] : a[4];
    const uint32_t format = u(a[6]), type = u(a[7]);
    const std::optional<uint32_t> pixel = pixelBytes(format, type);
    if (!pixel) {
        if (!pixelBytes(format, GLES_UNSIGNED_BYTE)) unknownEnum(name, "format", format);
        unknownEnum(name, "type", type);
    }
    const GuestBytes data = resolveArray(m_vm, u(a[8]), name);
    QOpenGLFunctions& functions = gl();
    GLint alignment = 4;
    functions.glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    requireBytes(data, imageBytes(width, height, *pixel, alignment), name);
    drop(stack, 9);
    if (sub)
        functions.glTexSubImage2D(u(a[0]), a[1], a[2], a[3], width, height, format, type,
                                  data.data);
    else
        functions.glTexImage2D(u(a[0]), a[1], a[2], width, height, a[5], format, type, data.data);
}

void GlesExtension::textureParameterVector(ExtensionStack& stack, bool floats)
{
    const char* name = floats ? "glTexParameterfv" : "glTexParameteriv";
    const auto a = peek<3>(stack);
    const GuestBytes data = resolveArray(m_vm, u(a[2]), name);
    requireBytes(data, 4, name);
    // Some parameters (the border colour of desktop GL) read four values: GL gets a zeroed
    // local copy of up to four, never the array itself.
    std::array<uint32_t, 4> values{};
    std::memcpy(values.data(), data.data, std::min<uint64_t>(data.size, sizeof values));
    drop(stack, 3);
    if (floats)
        gl().glTexParameterfv(u(a[0]), u(a[1]), reinterpret_cast<const GLfloat*>(values.data()));
    else
        gl().glTexParameteriv(u(a[0]), u(a[1]), reinterpret_cast<const GLint*>(values.data()));
}

void GlesExtension::deleteNames(ExtensionStack& stack, bool textures)
{
    const char* name = textures ? "glDeleteTextures" : "glDeleteBuffers";
    const auto a = peek<2>(stack);
    const GuestBytes data = resolveArray(m_vm, u(a[1]), name);
    requireBytes(data, countBytes(a[0], 4), name);
    drop(stack, 2);
    const auto* names = reinterpret_cast<const GLuint*>(data.data);
    if (textures) {
        gl().glDeleteTextures(a[0], names);
        if (m_bitmapTextures) m_bitmapTextures->forget(names, a[0]);
    } else {
        gl().glDeleteBuffers(a[0], names);
    }
}

void GlesExtension::uniformVector(ExtensionStack& stack, int operation)
{
    struct Form {
        const char* name;
        int components;
        bool matrix;
    };
    static constexpr Form kForms[] = {
        {"glUniform1fv", 1, false}, {"glUniform1iv", 1, false}, {"glUniform2fv", 2, false},
        {"glUniform2iv", 2, false}, {"glUniform3fv", 3, false}, {"glUniform3iv", 3, false},
        {"glUniform4fv", 4, false}, {"glUniform4iv", 4, false},
    };
    static constexpr Form kMatrices[] = {
        {"glUniformMatrix2fv", 4, true},
        {"glUniformMatrix3fv", 9, true},
        {"glUniformMatrix4fv", 16, true},
    };
    const Form& form =
        operation >= 128 ? kMatrices[operation - 128] : kForms[(operation - 113) / 2];
    const int words = form.matrix ? 4 : 3;
    std::array<int32_t, 4> a{};
    for (int i = 0; i < words; ++i)
        a[i] = stack.peekWord(static_cast<uint32_t>(words - 1 - i));
    const GuestBytes data = resolveArray(m_vm, u(a[words - 1]), form.name);
    requireBytes(data, countBytes(a[1], uint64_t(form.components) * 4), form.name);
    drop(stack, words);
    QOpenGLFunctions& functions = gl();
    const GLint location = a[0];
    const GLsizei count = a[1];
    const auto* floats = reinterpret_cast<const GLfloat*>(data.data);
    const auto* ints = reinterpret_cast<const GLint*>(data.data);
    switch (operation) {
    case 113:
        functions.glUniform1fv(location, count, floats);
        break;
    case 115:
        functions.glUniform1iv(location, count, ints);
        break;
    case 117:
        functions.glUniform2fv(location, count, floats);
        break;
    case 119:
        functions.glUniform2iv(location, count, ints);
        break;
    case 121:
        functions.glUniform3fv(location, count, floats);
        break;
    case 123:
        functions.glUniform3iv(location, count, ints);
        break;
    case 125:
        functions.glUniform4fv(location, count, floats);
        break;
    case 127:
        functions.glUniform4iv(location, count, ints);
        break;
    case 128:
        functions.glUniformMatrix2fv(location, count, b(a[2]), floats);
        break;
    case 129:
        functions.glUniformMatrix3fv(location, count, b(a[2]), floats);
        break;
    case 130:
        functions.glUniformMatrix4fv(location, count, b(a[2]), floats);
        break;
    }
}

void GlesExtension::vertexAttribVector(ExtensionStack& stack, int components)
{
    static constexpr const char* kNames[] = {"glVertexAttrib1fv", "glVertexAttrib2fv",
                                             "glVertexAttrib3fv", "glVertexAttrib4fv"};
    const char* name = kNames[components - 1];
    const auto a = peek<2>(stack);
    const GuestBytes data = resolveArray(m_vm, u(a[1]), name);
    requireBytes(data, uint64_t(components) * 4, name);
    drop(stack, 2);
    QOpenGLFunctions& functions = gl();
    const auto* values = reinterpret_cast<const GLfloat*>(data.data);
    switch (components) {
    case 1:
        functions.glVertexAttrib1fv(u(a[0]), values);
        break;
    case 2:
        functions.glVertexAttrib2fv(u(a[0]), values);
        break;
    case 3:
        functions.glVertexAttrib3fv(u(a[0]), values);
        break;
    case 4:
        functions.glVertexAttrib4fv(u(a[0]), values);
        break;
    }
}

void GlesExtension::vertexAttribPointer(ExtensionStack& stack)
{
    // glVertexAttribPointer(index, size, type, normalized, stride, pointer)
    static constexpr const char* kName = "glVertexAttribPointer";
    const auto a = peek<6>(stack);
    const GuestBytes data = resolveArray(m_vm, u(a[5]), kName);
    QOpenGLFunctions& functions = gl();
    GLint arrayBuffer = 0;
    functions.glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    const GLuint index = u(a[0]);
    const int32_t size = a[1];
    const uint32_t type = u(a[2]);
    const int32_t stride = a[4];
    if (arrayBuffer != 0) {
        // With a buffer bound GL takes the pointer as an offset into it; a host address would
        // be a meaningless one, so the data starts at the buffer's beginning.
        drop(stack, 6);
        m_clientArrays.forget(index);
        functions.glVertexAttribPointer(index, size, type, b(a[3]), stride, nullptr);
        return;
    }
    const std::optional<uint32_t> typeBytes = attributeTypeBytes(type);
    if (!typeBytes) unknownEnum(kName, "type", type);
    GLint attributes = 0;
    functions.glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    drop(stack, 6);
    if (index < static_cast<GLuint>(std::max(attributes, 0)) && size >= 1 && size <= 4 &&
        stride >= 0) {
        m_clientArrays.point(index, u(a[5]), size, type, *typeBytes, b(a[3]), stride);
        functions.glVertexAttribPointer(index, size, type, b(a[3]), stride, data.data);
    } else {
        // GL refuses these (or, on desktop GL, takes forms the checks do not size): it gets no
        // pointer, and a draw with the attribute enabled is refused until it is pointed again.
        m_clientArrays.forget(index);
        functions.glVertexAttribPointer(index, size, type, b(a[3]), stride, nullptr);
    }
}

void GlesExtension::drawArrays(ExtensionStack& stack)
{
    const auto a = peek<3>(stack);
    QOpenGLFunctions& functions = gl();
    const int32_t first = a[1], count = a[2];
    if (first >= 0 && count > 0)
        m_clientArrays.prepareDraw(functions, int64_t(first) + count - 1, "glDrawArrays");
    drop(stack, 3);
    functions.glDrawArrays(u(a[0]), first, count);
}

void GlesExtension::drawElements(ExtensionStack& stack)
{
    // glDrawElements(mode, count, type, indices)
    static constexpr const char* kName = "glDrawElements";
    const auto a = peek<4>(stack);
    const int32_t count = a[1];
    const uint32_t type = u(a[2]);
    const GuestBytes indices = resolveArray(m_vm, u(a[3]), kName);
    QOpenGLFunctions& functions = gl();
    GLint elementBuffer = 0;
    functions.glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    if (elementBuffer != 0) {
        // The indices are in the buffer: their highest value is not known here, so no
        // application array can be checked against it.
        if (count > 0 && m_clientArrays.anyEnabled(functions))
            throwError(kInvalidArgument,
                       "glDrawElements: indices in a buffer with vertex arrays in the application");
        drop(stack, 4);
        functions.glDrawElements(u(a[0]), count, type, nullptr);
        return;
    }
    const std::optional<uint32_t> indexBytes = indexTypeBytes(type);
    if (!indexBytes) unknownEnum(kName, "type", type);
    if (count > 0) {
        requireBytes(indices, countBytes(count, *indexBytes), kName);
        int64_t highest = 0;
        for (int32_t i = 0; i < count; ++i) {
            const uint8_t* at = indices.data + uint64_t(i) * *indexBytes;
            uint32_t value = 0;
            if (*indexBytes == 1) {
                value = *at;
            } else if (*indexBytes == 2) {
                uint16_t v;
                std::memcpy(&v, at, 2);
                value = v;
            } else {
                std::memcpy(&value, at, 4);
            }
            highest = std::max<int64_t>(highest, value);
        }
        m_clientArrays.prepareDraw(functions, highest, kName);
    }
    drop(stack, 4);
    functions.glDrawElements(u(a[0]), count, type, indices.data);
}

void GlesExtension::generateNames(ExtensionStack& stack, bool textures)
{
    const int32_t count = stack.peekWord();
    if (count < 0)
        throwError(kInvalidArgument,
                   std::string(textures ? "glGenTextures" : "glGenBuffers") + ": negative count");
    QOpenGLFunctions& functions = gl();
    const uint32_t box = m_vm.newArrayObject(4, count, false);
    if (count > 0) {
        auto* names = reinterpret_cast<GLuint*>(m_vm.vectorElements(m_vm.vectorOf(box)));
        if (textures)
            functions.glGenTextures(count, names);
        else
            functions.glGenBuffers(count, names);
    }
    stack.popWord();
    stack.pushWord(static_cast<int32_t>(box));
}

void GlesExtension::getObjectParameter(ExtensionStack& stack, bool program)
{
    const char* name = program ? "glGetProgramiv" : "glGetShaderiv";
    const auto a = peek<3>(stack);
    const GuestBytes data = resolveArray(m_vm, u(a[2]), name);
    requireBytes(data, 4, name);
    // GL writes into a local big enough for any parameter; the array gets the first value.
    std::array<GLint, 4> values{};
    drop(stack, 3);
    if (program)
        gl().glGetProgramiv(u(a[0]), u(a[1]), values.data());
    else
        gl().glGetShaderiv(u(a[0]), u(a[1]), values.data());
    std::memcpy(data.data, values.data(), 4);
}

void GlesExtension::infoLog(ExtensionStack& stack, bool program)
{
    const GLuint object = u(stack.peekWord());
    QOpenGLFunctions& functions = gl();
    GLint length = 0;
    if (program)
        functions.glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        functions.glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    const std::u16string text = infoLogText(length, [&](int32_t size, char* log) {
        if (program)
            functions.glGetProgramInfoLog(object, size, nullptr, log);
        else
            functions.glGetShaderInfoLog(object, size, nullptr, log);
    });
    const uint32_t string = m_vm.newString(OString(text));
    stack.popWord();
    stack.pushWord(static_cast<int32_t>(string));
}

void GlesExtension::shaderSource(ExtensionStack& stack)
{
    const auto a = peek<2>(stack);
    std::string source = latin1String(m_vm, u(a[1]));
    drop(stack, 2);
    QOpenGLFunctions& functions = gl();
    // Desktop GL reads a source without #version as its own oldest dialect, not as ES 2.0.
    if (!QOpenGLContext::currentContext()->isOpenGLES() &&
        source.find("#version") == std::string::npos)
        source.insert(0, "#version 100\n");
    const char* text = source.c_str();
    functions.glShaderSource(u(a[0]), 1, &text, nullptr);
}

void GlesExtension::bindBuffer(ExtensionStack& stack)
{
    const auto a = peek<2>(stack);
    const uint32_t target = u(a[0]);
    // A pixel unpack buffer (desktop GL, ES 3) would turn the pointers of texture uploads into
    // offsets the extent checks know nothing of: only the two targets of ES 2.0 reach GL.
    if (target != GL_ARRAY_BUFFER && target != GL_ELEMENT_ARRAY_BUFFER)
        throwError(kInvalidArgument, "glBindBuffer: unsupported target " + hex(target));
    drop(stack, 2);
    gl().glBindBuffer(target, u(a[1]));
}

void GlesExtension::pixelStore(ExtensionStack& stack)
{
    const auto a = peek<2>(stack);
    const uint32_t pname = u(a[0]);
    // Row length and skips (desktop GL, ES 3) would change how many bytes an upload reads;
    // only the alignments, which the extent checks account for, reach GL.
    if (pname != GLES_UNPACK_ALIGNMENT && pname != GLES_PACK_ALIGNMENT)
        throwError(kInvalidArgument, "glPixelStorei: unsupported parameter " + hex(pname));
    drop(stack, 2);
    gl().glPixelStorei(pname, a[1]);
}

} // namespace zelmo::gles
