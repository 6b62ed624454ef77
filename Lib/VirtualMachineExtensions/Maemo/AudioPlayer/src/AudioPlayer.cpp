// SPDX-License-Identifier: MIT
#include "AudioPlayer/AudioPlayer.h"

#include "AudioPlayer/AudioPlayerExtension.h"

namespace zelmo {

AudioPlayer::AudioPlayer(AudioPlayerExtension* extension, std::vector<uint8_t> samples)
    : extension(extension), samples(std::move(samples)),
      size(static_cast<uint32_t>(this->samples.size()))
{
    if (extension) extension->playerCreated(*this);
}

AudioPlayer::~AudioPlayer()
{
    // The stream's callbacks point at this player: the extension has the output drop them.
    if (extension) extension->playerDestroyed(*this);
}

void AudioPlayer::playbackEnded()
{
    if (!sounding) return;
    sounding = false;
    if (extension) extension->playerFinished();
}

void NullAudioOutput::play(AudioPlayer& player)
{
    // Nothing to hear: the clip counts as played out.
    player.state = AudioPlayer::kPlayRequested;
    player.offset = player.size;
}

void NullAudioOutput::stop(AudioPlayer& player)
{
    if (player.state != AudioPlayer::kNeverPlayed) player.offset = player.size;
}

} // namespace zelmo
