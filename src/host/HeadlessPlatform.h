// SPDX-License-Identifier: MIT
// What the run without a window starts before the application object exists: the runtime's GUI
// part and a Qt GUI platform only for an application that can draw, play sound or reach the
// desktop.
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

// Whether a run without a window needs the runtime's GUI part (src/GuiRuntime.h): for drawing
// or OpenGL ES (above) and for sound or the desktop extension. Otherwise Qt's core is all the
// run loads.
bool headlessNeedsGui(const VirtualMachine* image, bool screenshot, GuiNativePredicate needsGui);

} // namespace zelmo
