// SPDX-License-Identifier: MIT
// The runtime's GUI part: the window, drawing, OpenGL ES, sound and the desktop, with the Qt GUI,
// OpenGL, D-Bus and PulseAudio libraries they need. zelmo-vm itself loads only Qt's core; it
// hands a run to this part when the run needs more (a window, or an application that can
// reach any of these). In the full build the part is the module zelmo-vm-gui.so, which zelmo-vm
// opens then (GuiModule.cpp); a core-only build links it into zelmo-vm.
#pragma once

namespace zelmo {

// Runs the application of the command line (already checked by zelmo-vm: no usage error, no
// --help, --version or desktop installation); the process exit status.
int runGuiRuntime(int argc, char** argv);

// The module's file name and the C function through which it runs runGuiRuntime.
inline constexpr char kGuiModuleName[] = "zelmo-vm-gui.so";
inline constexpr char kGuiModuleEntry[] = "zelmo_gui_runtime";
using GuiModuleEntry = int (*)(int argc, char** argv);

} // namespace zelmo
