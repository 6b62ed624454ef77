// SPDX-License-Identifier: MIT
// Which device extensions this build provides and what stands in for each device, from the
// command line (and ZELMO_ACCELEROMETER / ZELMO_LOCATION when the options are absent). The
// host registers every extension at start-up; each is made on its application's first call.
#pragma once

#include "Accelerometer/AccelerometerSource.h"
#include "AudioPlayer/AudioPlayerExtension.h"
#include "Location/PositionSource.h"
#include "OpenGLES/GlesExtension.h"
#include "Torch/TorchExtension.h"

#include <functional>
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
    AudioSettings audio;
    // Textures from bitmaps for OpenGL, when the front-end has the bitmap library.
    gles::BitmapTexturesFactory bitmapTextures;
};

// The settings the options name; nothing with `error` set when a value cannot be used.
std::optional<ExtensionSettings> extensionSettings(const RuntimeOptions& options,
                                                   std::string& error);

// What only the window can do; empty members when there is none.
struct WindowHooks {
    std::function<void()> minimise;
};

// Registers the extensions with `host`.
void registerExtensions(HostServices& host, const ExtensionSettings& settings,
                        const WindowHooks& window = {});

} // namespace zelmo
