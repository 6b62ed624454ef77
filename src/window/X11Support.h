// SPDX-License-Identifier: MIT
// The few X11 requests the window makes itself, on Qt's own connection. Everything here does
// nothing (and says so by its result) when the application does not run on X11.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

namespace zelmo::x11 {

// Whether Qt runs on X11 (the xcb platform).
bool available();

enum class PropertyResult { NoAtom, Set, Failed };

// Sets a 32-bit property with one value on a window, replacing the old value, when the
// property's atom already exists on the server (a window manager that reads it created it).
// `type` is the name of the property type ("CARDINAL", "INTEGER"). `checked` waits for the
// server's answer; otherwise a failure shows as Set.
PropertyResult setWindowProperty(WId window, const char* name, const char* type, uint32_t value,
                                 bool checked);

// Asks the server to report a held key as presses only, with one release at the end, instead
// of release/press pairs. False when the server cannot.
bool enableDetectableAutoRepeat();

} // namespace zelmo::x11
