// SPDX-License-Identifier: MIT
// What stands in for each device, from the command line (and ZELMO_ACCELEROMETER /
// ZELMO_LOCATION when the options are absent), and the extensions that need only Qt's core. The
// host registers the extensions at start-up; each is made on its application's first call.
// Sound, the desktop and OpenGL ES are added by host/GuiExtensions.h.
#pragma once

#include "Accelerometer/AccelerometerSource.h"
#include "Location/PositionSource.h"
#include "Torch/TorchExtension.h"
#include "VirtualMachineExtensions/Extension.h"

#include <memory>
#include <optional>
#include <string>

namespace zelmo {

class HostServices;
struct RuntimeOptions;

struct ExtensionSettings {
    std::shared_ptr<VirtualPose> pose; // the virtual sensor the window tilts
    std::shared_ptr<AccelerometerSource> accelerometer;
    PositionSourceSettings location;
    TorchSettings torch;
};

// The settings the options name; nothing with `error` set when a value cannot be used.
std::optional<ExtensionSettings> extensionSettings(const RuntimeOptions& options,
                                                   std::string& error);

// Registers the accelerometer, location and torch extensions with `host`.
void registerCoreExtensions(HostServices& host, const ExtensionSettings& settings);

// The session's deliveries for extensions that call into the application from the event loop.
MachineDelivery sessionDelivery(HostServices& host);

} // namespace zelmo
