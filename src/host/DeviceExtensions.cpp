// SPDX-License-Identifier: MIT
#include "host/DeviceExtensions.h"

#include "VirtualMachineExtensions/Maemo/AudioPlayer/src/AudioPlayerExtension.h"
#include "host/ExtensionHost.h"
#include "host/RuntimeOptions.h"

namespace zelmo {

void registerDeviceExtensions(ExtensionHost& extensions, const RuntimeOptions& options)
{
    const AudioSettings audio{options.mute, options.volumePercent};
    extensions.registerExtension(kAudioPlayerExtension, [audio](VirtualMachine& machine) {
        return makeAudioPlayerExtension(machine, audio);
    });
}

} // namespace zelmo
