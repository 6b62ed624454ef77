// SPDX-License-Identifier: MIT
// Where the audio player's clips go. The player operations run against an output: the sound
// server's (one stream per clip, the server mixes them) or the null output that drops every
// clip. An output says when it becomes ready and when it can no longer play anything.
#pragma once

#include <string>

namespace zelmo {

class AudioPlayer;

class AudioOutputListener {
public:
    virtual ~AudioOutputListener() = default;
    // The output can run operations from now on.
    virtual void outputReady() = 0;
    // The output will never play anything (the server went away, or never came); said once.
    virtual void outputFailed(const std::string& reason) = 0;
};

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts connecting; the listener hears about readiness or failure, possibly at once.
    virtual void start(AudioOutputListener& listener) = 0;
    virtual bool ready() const = 0;
    // The player operations.
    virtual void initialize(AudioPlayer& player) = 0;
    virtual void play(AudioPlayer& player) = 0;
    virtual void stop(AudioPlayer& player) = 0;
    // Drops what the output keeps for the player (its stream): the player is going away, or
    // the output is. Nothing of the output refers to the player afterwards.
    virtual void release(AudioPlayer& player) = 0;
};

// Plays nothing: every operation completes at once and no stream is made.
class NullAudioOutput : public AudioOutput {
public:
    void start(AudioOutputListener& listener) override { listener.outputReady(); }
    bool ready() const override { return true; }
    void initialize(AudioPlayer&) override {}
    void play(AudioPlayer& player) override;
    void stop(AudioPlayer& player) override;
    void release(AudioPlayer&) override {}
};

} // namespace zelmo
