// SPDX-License-Identifier: MIT
// zelmo-vm's lean run: a run without a window that zelmo-vm makes itself, without Qt, when it
// can make it exactly as the full runtime (zelmo-vm-full) would: the same output, the same
// messages, the same exit status. Everything about the run is decided before anything runs,
// from the command line, the environment and the image read beforehand, so a run never
// changes runtimes midway; whatever zelmo-vm is not sure of goes to the full runtime.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace zelmo {

class VirtualMachine;

// The application directory of a command line the lean run understands completely: exactly
// "--headless" and "--app DIR" (or "--app=DIR"), once each, in any order, where DIR is a plain
// ASCII path that is absolute and clean (no ".", ".." or empty parts) once the current
// directory is put in front of a relative one, so that it is the very text the full runtime
// makes of it. Nothing for any other command line.
std::optional<std::string> leanApplicationDirectory(int argc, char** argv);

// Whether the environment leaves everything the full runtime reads from it at its defaults:
// Qt's messages (no QT_* variable, no qtlogging.ini where Qt looks for one) and the device
// extensions' settings (ZELMO_ACCELEROMETER, ZELMO_LOCATION), whose bad values end the full
// run with a usage error. Nor may the address space be limited (the machine reserves 4 GiB).
bool leanEnvironment();

// Whether every NATIVE of `image` is one the lean core answers exactly as the full runtime does
// and reaches no host service the lean host lacks (files, the log file), and it calls no
// device extension.
bool leanImage(const VirtualMachine& image);

// Runs `image`, read from `bytes` (the index.mcb of `directory`), as the full runtime's
// window-less run does: ::global::init and main, a first frame, then the timers until the
// application exits or nothing is left that could wake it. The exit status.
int runLean(std::unique_ptr<VirtualMachine> image, const std::string& bytes,
            const std::string& directory);

} // namespace zelmo
