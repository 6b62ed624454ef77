// SPDX-License-Identifier: MIT
#include "host/GuiExtensions.h"

#include "Desktop/DesktopExtension.h"
#include "host/ExtensionSetup.h"
#include "host/HostServices.h"

namespace zelmo {

void registerExtensions(HostServices& host, const ExtensionSettings& settings,
                        const GuiExtensionSettings& gui)
{
    registerCoreExtensions(host, settings);
    ExtensionHost& extensions = host.extensions();
    extensions.registerExtension(kDesktopExtension, [minimise = gui.minimise](VirtualMachine& vm) {
        return std::make_shared<DesktopExtension>(vm, minimise);
    });
    if (gles::GlesSurface* surface = host.glSurface())
        extensions.registerExtension(
            kOpenGlesExtension, [surface, textures = gui.bitmapTextures](VirtualMachine& vm) {
                return std::make_shared<gles::GlesExtension>(vm, *surface, textures);
            });
    extensions.registerExtension(
        kAudioPlayerExtension,
        [audio = gui.audio, delivery = sessionDelivery(host)](VirtualMachine& vm) {
            return makeAudioPlayerExtension(vm, audio, delivery);
        });
}

} // namespace zelmo
