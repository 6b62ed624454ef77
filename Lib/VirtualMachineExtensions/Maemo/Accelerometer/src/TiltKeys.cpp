// SPDX-License-Identifier: MIT
#include "Accelerometer/TiltKeys.h"

namespace zelmo {

bool tiltByKey(VirtualPose& pose, int key, Qt::KeyboardModifiers modifiers)
{
    // Ctrl alone (arrows of the keypad carry the keypad modifier too).
    if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
    switch (key) {
    case Qt::Key_Right:
        pose.tilt(1, 0);
        return true;
    case Qt::Key_Left:
        pose.tilt(-1, 0);
        return true;
    case Qt::Key_Up:
        pose.tilt(0, 1);
        return true;
    case Qt::Key_Down:
        pose.tilt(0, -1);
        return true;
    case Qt::Key_0:
        pose.reset();
        return true;
    default:
        return false;
    }
}

} // namespace zelmo
