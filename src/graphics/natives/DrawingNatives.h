// SPDX-License-Identifier: MIT
// The native groups of the drawing library: geometry and color values, bitmaps, drawing
// contexts, fonts and the screen. Each is a handler for every operation of its group; the
// library binds them to the machine's dispatch with registerGraphicsNatives().
#pragma once

namespace zelmo {
class VirtualMachine;
}

namespace zelmo::graphics {

void colorNative(VirtualMachine& vm, int operation);     // group 13
void sizeNative(VirtualMachine& vm, int operation);      // group 15
void positionNative(VirtualMachine& vm, int operation);  // group 16
void rectangleNative(VirtualMachine& vm, int operation); // group 17
void graphicsNative(VirtualMachine& vm, int operation);  // group 18
void bitmapNative(VirtualMachine& vm, int operation);    // group 19
void fontNative(VirtualMachine& vm, int operation);      // group 20
void screenNative(VirtualMachine& vm, int operation);    // group 31
// System operations 10 (the default font), 11 (an image font from a file), 12 (from bytes).
void fontCreationNative(VirtualMachine& vm, int operation);

// Binds all of the above (GraphicsNatives.h names them); call once at start-up, before any
// machine runs.
void registerGraphicsNatives();

} // namespace zelmo::graphics
