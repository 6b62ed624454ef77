// SPDX-License-Identifier: MIT
// The extensions that need more than Qt's core: the audio player (libpulse), the desktop
// (D-Bus) and OpenGL ES 2.0 (Qt GUI). They live in the runtime's GUI part, which a run loads
// only when its application can reach one of them.
#pragma once

#include "AudioPlayer/AudioPlayerExtension.h"
#include "OpenGLES/GlesExtension.h"

#include <functional>

namespace zelmo {

class HostServices;
struct ExtensionSettings;

struct GuiExtensionSettings {
    AudioSettings audio;
    // Textures from bitmaps for OpenGL, when the front-end has the bitmap library.
    gles::BitmapTexturesFactory bitmapTextures;
    // What only the window can do; empty when there is none.
    std::function<void()> minimise;
};

// Registers every extension with `host`: those of registerCoreExtensions, the audio player, the
// desktop and, when the host has a GL surface, OpenGL ES.
void registerExtensions(HostServices& host, const ExtensionSettings& settings,
                        const GuiExtensionSettings& gui);

} // namespace zelmo
