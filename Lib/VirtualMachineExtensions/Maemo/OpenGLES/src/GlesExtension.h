// SPDX-License-Identifier: MIT
// Extension 38: OpenGL ES 2.0 for bytecode. Each operation takes its GL arguments from the
// stack (first parameter deepest), calls one QOpenGLFunctions entry point in the surface's
// context and leaves the GL result, if any. Every pointer GL would follow is an application
// array or string resolved through the machine's checks, and every extent is computed in 64
// bits before the call: a call that would read or write past its array calls nothing.
#pragma once

#include "OpenGLES/ClientArrays.h"
#include "VirtualMachineExtensions/Extension.h"

#include <QOpenGLFunctions>
#include <cstdint>
#include <functional>

class QOpenGLContext;

namespace zelmo {
class VirtualMachine;
}

namespace zelmo::gles {

class GlesSurface;

// Uploads a bitmap as a GL_TEXTURE_2D (the bitmap library provides it): the texture name, or
// the managed error for a reference that is not a bitmap. Called with the context current.
using BitmapTextureUpload = std::function<uint32_t(VirtualMachine&, uint32_t reference)>;

class GlesExtension : public Extension {
public:
    GlesExtension(VirtualMachine& vm, GlesSurface& surface, BitmapTextureUpload bitmapTexture);
    ~GlesExtension() override;

    void call(int32_t operation, ExtensionStack& stack) override;

private:
    // The surface's context made current and GL's entry points ready; FATAL without one.
    QOpenGLFunctions& gl();
    void callBound(int operation, ExtensionStack& stack);
    // Operations whose arguments GL reads through pointers.
    void bufferData(ExtensionStack& stack, bool sub);
    void compressedImage(ExtensionStack& stack, bool sub);
    void textureImage(ExtensionStack& stack, bool sub);
    void textureParameterVector(ExtensionStack& stack, bool floats);
    void deleteNames(ExtensionStack& stack, bool textures);
    void uniformVector(ExtensionStack& stack, int operation);
    void vertexAttribVector(ExtensionStack& stack, int components);
    void vertexAttribPointer(ExtensionStack& stack);
    void drawArrays(ExtensionStack& stack);
    void drawElements(ExtensionStack& stack);
    void generateNames(ExtensionStack& stack, bool textures);
    void getObjectParameter(ExtensionStack& stack, bool program);
    void infoLog(ExtensionStack& stack, bool program);
    void shaderSource(ExtensionStack& stack);
    void pixelStore(ExtensionStack& stack);
    void bindBuffer(ExtensionStack& stack);

    VirtualMachine& m_vm;
    GlesSurface& m_surface;
    BitmapTextureUpload m_bitmapTexture;
    QOpenGLFunctions m_gl;
    QOpenGLContext* m_context = nullptr; // the one m_gl was resolved in
    ClientArrays m_clientArrays;
};

} // namespace zelmo::gles
