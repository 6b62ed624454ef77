// SPDX-License-Identifier: MIT
// The sound server's output: a libpulse context driven by the GLib main loop adapter on the
// default GLib context, which is the one Qt's event loop runs on this platform, so every server
// callback arrives on the machine's thread. One playback stream per clip; the server mixes them.
#pragma once

#include "AudioPlayer/AudioOutput.h"

#include <cstddef>

struct pa_context;
struct pa_glib_mainloop;
struct pa_stream;

namespace zelmo {

class PulseAudioOutput : public AudioOutput {
public:
    // `volumePercent` (0..100) is the linear gain given to every stream.
    explicit PulseAudioOutput(int volumePercent);
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput&) = delete;
    PulseAudioOutput& operator=(const PulseAudioOutput&) = delete;

    void start(AudioOutputListener& listener) override;
    bool ready() const override;
    void initialize(AudioPlayer& player) override;
    void play(AudioPlayer& player) override;
    void stop(AudioPlayer& player) override;
    void release(AudioPlayer& player) override;

private:
    static void contextStateChanged(pa_context* context, void* self);
    static void streamStarted(pa_stream* stream, void* player);
    static void streamWantsData(pa_stream* stream, size_t bytes, void* player);
    static void streamStateChanged(pa_stream* stream, void* player);
    static void streamDrained(pa_stream* stream, int success, void* player);
    static void writeSamples(AudioPlayer& player, size_t requested);
    // Asks the server to say when everything written has been played.
    static void drainAfterLastWrite(AudioPlayer& player);
    static void cancelDrain(AudioPlayer& player);
    // The clip is silent from now on: no answer to a drain request is awaited any more.
    static void endPlayback(AudioPlayer& player);
    void fail();

    int m_volumePercent;
    pa_glib_mainloop* m_mainloop = nullptr;
    pa_context* m_context = nullptr;
    AudioOutputListener* m_listener = nullptr;
    bool m_failed = false;
};

} // namespace zelmo
