// SPDX-License-Identifier: MIT
// The Qt platform of the run without a window, chosen before the application object exists.
#pragma once

namespace zelmo {

// With neither a display nor a chosen platform: Mesa's surfaceless EGL when it initialises
// (an OpenGL ES context without any display server), else Qt's offscreen platform (drawing
// into bitmaps works; OpenGL needs a display then). A display or an explicit QT_QPA_PLATFORM
// is left to Qt.
void chooseHeadlessPlatform();

} // namespace zelmo
