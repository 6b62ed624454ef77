// SPDX-License-Identifier: MIT
// Chooses the output the audio player extension starts with.
#include "AudioPlayer/AudioPlayerExtension.h"
#include "AudioPlayer/PulseAudioOutput.h"

#include <QAbstractEventDispatcher>

namespace zelmo {

std::unique_ptr<Extension> makeAudioPlayerExtension(VirtualMachine& machine,
                                                    const AudioSettings& settings,
                                                    MachineDelivery wake)
{
    if (settings.mute)
        return std::make_unique<AudioPlayerExtension>(machine, std::make_unique<NullAudioOutput>(),
                                                      "muted", wake);
    // The server's callbacks come through GLib's default context; an event loop that is not
    // GLib's never runs them, and the connection would wait forever.
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || !dispatcher->inherits("QEventDispatcherGlib"))
        return std::make_unique<AudioPlayerExtension>(machine, std::make_unique<NullAudioOutput>(),
                                                      "the event loop is not GLib's", wake);
    return std::make_unique<AudioPlayerExtension>(
        machine, std::make_unique<PulseAudioOutput>(settings.volumePercent), std::string(),
        std::move(wake));
}

} // namespace zelmo
