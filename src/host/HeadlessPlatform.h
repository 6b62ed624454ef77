// SPDX-License-Identifier: MIT
// The Qt platform of the run without a window, chosen before the application object exists.
#pragma once

namespace zelmo {

// Without a chosen platform: with no display, Mesa's surfaceless EGL when it initialises (an
// OpenGL ES context without any display server); otherwise Qt's offscreen platform (bitmaps
// draw the same; OpenGL only with a display). An explicit QT_QPA_PLATFORM is left to Qt.
void chooseHeadlessPlatform();

} // namespace zelmo
