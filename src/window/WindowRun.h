// SPDX-License-Identifier: MIT
// The runtime with a window: start-up, the display-state signal, the event loop.
#pragma once

#include "host/InputScript.h"

#include <vector>

namespace zelmo {

struct RuntimeOptions;

// Runs the application of the options' directory in the window, with the scripted input
// `events` (--input); the process exit status.
int runWindowed(const RuntimeOptions& options, int& argc, char** argv,
                std::vector<ScriptedEvent> events);

} // namespace zelmo
