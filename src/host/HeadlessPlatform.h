// SPDX-License-Identifier: MIT
// What the run without a window starts before the application object exists: a Qt GUI platform
// only for an application that can draw.
#pragma once

namespace zelmo {

class VirtualMachine;

enum class HeadlessGraphics {
    None,    // no drawing at all: a Qt core application, no platform plugin
    Drawing, // bitmaps, fonts or a screenshot: a GUI application on Qt's offscreen platform
    OpenGl,  // the OpenGL ES extension: a platform with an OpenGL context
};

// Whether (group, signed operation byte) of a NATIVE needs a Qt GUI application.
using GuiNativePredicate = bool (*)(int group, int operation);

// What `image` (read, not run) can reach: every NATIVE and EXTCALL names its target in the
// instruction, so nothing the code does later can reach more. Without an image (it cannot be
// read; the start says why) nothing is needed.
HeadlessGraphics headlessGraphicsNeeded(const VirtualMachine* image, bool screenshot,
                                        GuiNativePredicate needsGui);

// Picks the Qt platform for `graphics` when neither DISPLAY nor QT_QPA_PLATFORM is set: for
// OpenGL, Mesa's surfaceless EGL when it initialises (an OpenGL ES context without any display
// server); otherwise Qt's offscreen platform (bitmaps draw the same; OpenGL only with a
// display). An explicit QT_QPA_PLATFORM is left to Qt; None picks nothing.
void chooseHeadlessPlatform(HeadlessGraphics graphics);

} // namespace zelmo
