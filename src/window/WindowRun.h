// SPDX-License-Identifier: MIT
// The runtime with a window: start-up, the display-state signal, the event loop.
#pragma once

namespace zelmo {

struct RuntimeOptions;

// Runs the application of the options' directory in the window; the process exit status.
int runWindowed(const RuntimeOptions& options, int& argc, char** argv);

} // namespace zelmo
