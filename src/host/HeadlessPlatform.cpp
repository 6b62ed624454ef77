// SPDX-License-Identifier: MIT
#include "host/HeadlessPlatform.h"

#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachineExtensions/Extension.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <QByteArray>
#include <QtGlobal>

namespace zelmo {

namespace {

bool surfacelessEglWorks()
{
    const EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return false;
    EGLint major = 0, minor = 0;
    const bool works = eglInitialize(display, &major, &minor) == EGL_TRUE;
    if (works) eglTerminate(display);
    return works;
}

} // namespace

HeadlessGraphics headlessGraphicsNeeded(const VirtualMachine* image, bool screenshot,
                                        GuiNativePredicate needsGui)
{
    if (image && image->extensionsUsed.test(size_t(kOpenGlesExtension)))
        return HeadlessGraphics::OpenGl;
    if (screenshot) return HeadlessGraphics::Drawing;
    if (image && needsGui) {
        for (const uint16_t key : image->nativeOperationsUsed)
            if (needsGui(key >> 8, static_cast<int8_t>(key & 0xff)))
                return HeadlessGraphics::Drawing;
    }
    return HeadlessGraphics::None;
}

void chooseHeadlessPlatform(HeadlessGraphics graphics)
{
    if (graphics == HeadlessGraphics::None || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    // With a display, Qt's offscreen platform still draws bitmaps as without one and gets
    // (desktop) OpenGL from the display.
    if (graphics == HeadlessGraphics::OpenGl && qEnvironmentVariableIsEmpty("DISPLAY") &&
        surfacelessEglWorks()) {
        qputenv("EGL_PLATFORM", "surfaceless");
        qputenv("QT_QPA_PLATFORM", "eglfs");
        qputenv("QT_QPA_EGLFS_INTEGRATION", "none");
        qputenv("QT_QPA_EGLFS_FB", "/dev/null");
        qputenv("QT_QPA_EGLFS_DISABLE_INPUT", "1");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace zelmo
