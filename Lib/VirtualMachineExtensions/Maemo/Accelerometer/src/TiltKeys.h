// SPDX-License-Identifier: MIT
// The window's runtime keys for the virtual accelerometer, like a phone emulator's virtual
// sensors: Ctrl+Right and Ctrl+Left put the right or the left side down by one step, Ctrl+Up
// and Ctrl+Down the top or the bottom edge, Ctrl+0 returns to the neutral pose. The window
// offers every key event here first; a key used here never reaches the application.
#pragma once

#include "Accelerometer/AccelerometerSource.h"

#include <Qt>

namespace zelmo {

// Applies the key to the pose; whether it was one of the tilt keys.
bool tiltByKey(VirtualPose& pose, int key, Qt::KeyboardModifiers modifiers);

} // namespace zelmo
