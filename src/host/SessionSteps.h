// SPDX-License-Identifier: MIT
// The steps of a run that need nothing but the core: reading the image into a machine, loading
// and starting it, turning the way a call into the machine ends into the run's exit status, and
// drawing one frame. ApplicationSession (the Qt runtime) and zelmo-vm's lean run (src/lean)
// both run an application through these, so that both end it the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace zelmo {

class FrameworkServices;
class VirtualMachine;

// The image `bytes` (index.mcb) read into a new machine, nothing run yet, so that a host can see
// what the code uses (VirtualMachine::nativeOperationsUsed) before it starts anything. Null when
// the bytes are no image this machine can run.
std::unique_ptr<VirtualMachine> readImage(std::string_view bytes);

// Loads index.mcb from `bytes` into `machine` (which finds it among its modules when it has read
// it already) on `host` and runs ::global::init and main. Throws what the machine throws; run it
// through runGuarded.
void loadImage(VirtualMachine& machine, std::string_view bytes, FrameworkServices& host);

// Runs `call`. Nothing when it returned normally; otherwise the exit status the application
// ends with: 0 for an exit request, 1 for a fatal error or a managed error outside any
// invocation, which is reported on standard error since nothing can catch it.
std::optional<int> runGuarded(const std::function<void()>& call);

// One frame, as a window draws it: the application's "<openglapplication>.draw gl". Without
// the application object nothing receives the call. `drawHandle` caches the method's handle
// (-1: not found yet).
void drawApplicationFrame(VirtualMachine& vm, int32_t& drawHandle);

} // namespace zelmo
