// SPDX-License-Identifier: MIT
// --timeout: a time limit for a whole run, headless or windowed.
#pragma once

namespace zelmo {

// Ends the run with status 124 after `seconds` (nothing for 0): from the event loop when it
// is running, and a little later at once, also when the application never returns to it.
void armRunTimeout(int seconds);

} // namespace zelmo
