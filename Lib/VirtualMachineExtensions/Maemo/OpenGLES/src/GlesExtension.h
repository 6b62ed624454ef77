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
#include <memory>

class QOpenGLContext;

namespace zelmo {
class VirtualMachine;
}

namespace zelmo::gles {

class GlesSurface;

// Textures made from bitmaps (operation 153), provided by the bitmap library. The extension
// owns the object, and the object owns every texture it made: destroying it deletes them.
class BitmapTextures {
public:
    virtual ~BitmapTextures() = default;
    // The texture of the bitmap the reference (the address of a bitmap value) leads to, bound
    // to GL_TEXTURE_2D; the managed error for anything else. `makeCurrent` makes the context
    // current, raising the fatal error without one; it is called only once the reference has
    // passed its checks.
    virtual uint32_t upload(VirtualMachine& vm, uint32_t reference,
                            const std::function<void()>& makeCurrent) = 0;
    // The application deleted these texture names itself: they belong to no bitmap any more.
    virtual void forget(const uint32_t* names, int32_t count) = 0;
};

// Makes an extension's BitmapTextures. `makeCurrent` makes the extension's context current
// outside its calls (to delete the texture of a collected bitmap): false when there is none.
using BitmapTexturesFactory =
    std::function<std::unique_ptr<BitmapTextures>(std::function<bool()> makeCurrent)>;

class GlesExtension : public Extension {
public:
    GlesExtension(VirtualMachine& vm, GlesSurface& surface,
                  const BitmapTexturesFactory& bitmapTextures);
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
    QOpenGLFunctions m_gl;
    QOpenGLContext* m_context = nullptr; // the one m_gl was resolved in
    ClientArrays m_clientArrays;
    // Last: its textures are deleted before anything else of the extension goes.
    std::unique_ptr<BitmapTextures> m_bitmapTextures;
};

} // namespace zelmo::gles
