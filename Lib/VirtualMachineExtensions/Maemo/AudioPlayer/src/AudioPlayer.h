// SPDX-License-Identifier: MIT
// One clip: raw PCM samples (signed 16-bit little-endian, mono, 44100 Hz) owned by the player,
// how far they have been handed to the output, and the output's stream for them. A managed
// object in the machine's object table; the collector destroys it once nothing refers to it
// and no operation for it is pending.
#pragma once

#include "Containers/GCObject.h"

#include <cstdint>
#include <vector>

struct pa_operation;
struct pa_stream;

namespace zelmo {

class AudioPlayerExtension;

class AudioPlayer : public GCObject {
public:
    enum State : int32_t {
        kPlayRequested = 0,
        kPlaying = 1, // the stream said playback started
        kNeverPlayed = 2,
    };

    AudioPlayer(AudioPlayerExtension* extension, std::vector<uint8_t> samples);
    ~AudioPlayer() override;
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    int memoryOutsideHeap() const override { return static_cast<int>(samples.capacity()); }

    // The extension goes first (at the end of a session): the player then only holds its
    // samples.
    void detach() { extension = nullptr; }
    // The output has played the clip to its end (or stopped it, or lost its stream): it is
    // silent now, and the extension hears so.
    void playbackEnded();

    AudioPlayerExtension* extension;
    pa_stream* stream = nullptr;
    const std::vector<uint8_t> samples;
    const uint32_t size;
    uint32_t offset = 0;
    int32_t state = kNeverPlayed;
    // Played and not yet heard to its end: the output sets it on play and clears it when the
    // clip has ended. The server's answer to the drain request that follows the last write.
    bool sounding = false;
    pa_operation* drain = nullptr;
};

} // namespace zelmo
