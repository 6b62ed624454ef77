// SPDX-License-Identifier: MIT
#include "AudioPlayer/PulseAudioOutput.h"

#include "AudioPlayer/AudioPlayer.h"

#include <algorithm>
#include <cstdio>
#include <pulse/glib-mainloop.h>
#include <pulse/pulseaudio.h>
#include <string>

namespace zelmo {

namespace {

constexpr pa_sample_spec kSampleSpec{PA_SAMPLE_S16LE, 44100, 1};

bool streamReady(pa_stream* stream)
{
    return stream && pa_stream_get_state(stream) == PA_STREAM_READY;
}

// Server requests we do not wait for.
void forget(pa_operation* operation)
{
    if (operation) pa_operation_unref(operation);
}

} // namespace

PulseAudioOutput::PulseAudioOutput(int volumePercent)
    : m_volumePercent(std::clamp(volumePercent, 0, 100))
{
    m_mainloop = pa_glib_mainloop_new(nullptr); // the default GLib context: Qt's event loop
    m_context = pa_context_new(pa_glib_mainloop_get_api(m_mainloop), "zelmo-vm");
}

PulseAudioOutput::~PulseAudioOutput()
{
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    pa_glib_mainloop_free(m_mainloop);
}

void PulseAudioOutput::start(AudioOutputListener& listener)
{
    m_listener = &listener;
    if (!m_context) {
        fail();
        return;
    }
    // The callback goes in first: a missing server is reported from inside the connect call.
    pa_context_set_state_callback(m_context, &PulseAudioOutput::contextStateChanged, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) fail();
}

void PulseAudioOutput::fail()
{
    if (m_failed) return;
    m_failed = true;
    std::string reason = "no sound server";
    if (m_context) reason += std::string(": ") + pa_strerror(pa_context_errno(m_context));
    if (m_listener) m_listener->outputFailed(reason);
}

void PulseAudioOutput::contextStateChanged(pa_context* context, void* self)
{
    auto* output = static_cast<PulseAudioOutput*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        if (output->m_listener) output->m_listener->outputReady();
        return;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        output->fail();
        return;
    default:
        return;
    }
}

bool PulseAudioOutput::ready() const
{
    return !m_failed && m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

void PulseAudioOutput::initialize(AudioPlayer& player)
{
    if (player.stream) return; // one stream per clip
    player.stream = pa_stream_new(m_context, "zelmo-audio-player", &kSampleSpec, nullptr);
    if (!player.stream) {
        std::fprintf(stderr, "audio: no stream: %s\n", pa_strerror(pa_context_errno(m_context)));
        return;
    }
    pa_stream_set_started_callback(player.stream, &PulseAudioOutput::streamStarted, &player);
    pa_stream_set_state_callback(player.stream, &PulseAudioOutput::streamStateChanged, &player);
    pa_cvolume volume;
    pa_cvolume_set(&volume, kSampleSpec.channels,
                   pa_sw_volume_from_linear(m_volumePercent / 100.0));
    // Default buffer attributes (nullptr: all -1), the default device, no flags.
    pa_stream_connect_playback(player.stream, nullptr, nullptr, static_cast<pa_stream_flags_t>(0),
                               m_volumePercent == 100 ? nullptr : &volume, nullptr);
    std::fprintf(stderr, "End of %s\n", "initialize");
}

void PulseAudioOutput::play(AudioPlayer& player)
{
    player.offset = 0;
    player.state = AudioPlayer::kPlayRequested;
    if (!player.stream) return;
    cancelDrain(player); // an earlier play's end is not this one's
    player.sounding = true;
    pa_stream_set_write_callback(player.stream, &PulseAudioOutput::streamWantsData, &player);
    // A stream still being created starts with the server's first write request.
    if (!streamReady(player.stream)) return;
    // Each play starts from the beginning: drop what an earlier play left in the buffer.
    forget(pa_stream_flush(player.stream, nullptr, nullptr));
    forget(pa_stream_prebuf(player.stream, nullptr, nullptr));
    const size_t writable = pa_stream_writable_size(player.stream);
    if (writable != static_cast<size_t>(-1) && writable > 0) writeSamples(player, writable);
}

void PulseAudioOutput::stop(AudioPlayer& player)
{
    if (player.state == AudioPlayer::kNeverPlayed) return;
    // The write callback keeps asking after a flush; with nothing left the clip stays stopped.
    player.offset = player.size;
    if (streamReady(player.stream)) forget(pa_stream_flush(player.stream, nullptr, nullptr));
    endPlayback(player);
}

void PulseAudioOutput::release(AudioPlayer& player)
{
    if (!player.stream) return;
    // No callback may reach the player after this: the drain's answer is cancelled too.
    cancelDrain(player);
    player.sounding = false;
    pa_stream_set_write_callback(player.stream, nullptr, nullptr);
    pa_stream_set_started_callback(player.stream, nullptr, nullptr);
    pa_stream_set_state_callback(player.stream, nullptr, nullptr);
    pa_stream_disconnect(player.stream);
    pa_stream_unref(player.stream);
    player.stream = nullptr;
}

void PulseAudioOutput::streamStarted(pa_stream*, void* player)
{
    static_cast<AudioPlayer*>(player)->state = AudioPlayer::kPlaying;
}

void PulseAudioOutput::streamWantsData(pa_stream*, size_t bytes, void* player)
{
    writeSamples(*static_cast<AudioPlayer*>(player), bytes);
}

void PulseAudioOutput::streamStateChanged(pa_stream* stream, void* player)
{
    // A stream that failed or ended answers no drain request: its clip is over.
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        endPlayback(*static_cast<AudioPlayer*>(player));
}

void PulseAudioOutput::streamDrained(pa_stream*, int, void* player)
{
    auto& clip = *static_cast<AudioPlayer*>(player);
    pa_operation_unref(clip.drain);
    clip.drain = nullptr;
    clip.playbackEnded();
}

void PulseAudioOutput::drainAfterLastWrite(AudioPlayer& player)
{
    if (!player.sounding || player.drain) return;
    player.drain = pa_stream_drain(player.stream, &PulseAudioOutput::streamDrained, &player);
    if (!player.drain) player.playbackEnded();
}

void PulseAudioOutput::cancelDrain(AudioPlayer& player)
{
    if (!player.drain) return;
    pa_operation_cancel(player.drain); // its callback is not called any more
    pa_operation_unref(player.drain);
    player.drain = nullptr;
}

void PulseAudioOutput::endPlayback(AudioPlayer& player)
{
    cancelDrain(player);
    player.playbackEnded();
}

void PulseAudioOutput::writeSamples(AudioPlayer& player, size_t requested)
{
    const uint32_t left = player.size - player.offset;
    std::fprintf(stderr, "%s: req: %d, offset: %d, left: %d\n", "writeSamples",
                 static_cast<int>(requested), static_cast<int>(player.offset),
                 static_cast<int>(left));
    if (!streamReady(player.stream) || requested == static_cast<size_t>(-1)) return;
    // Only whole frames go to the server; it refuses a write with a part of one.
    const size_t frame = pa_frame_size(&kSampleSpec);
    size_t count = std::min<size_t>(requested, left);
    count -= count % frame;
    if (count == 0) {
        if (left < frame) { // a last odd byte is dropped
            player.offset = player.size;
            drainAfterLastWrite(player); // a clip of less than a frame ends here
        }
        return;
    }
    if (pa_stream_write(player.stream, player.samples.data() + player.offset, count, nullptr, 0,
                        PA_SEEK_RELATIVE) < 0)
        return;
    player.offset += static_cast<uint32_t>(count);
    if (player.size - player.offset < frame) player.offset = player.size;
    // A clip shorter than the prebuffer would wait for more data: start it now.
    if (player.offset >= player.size && player.state != AudioPlayer::kPlaying)
        forget(pa_stream_trigger(player.stream, nullptr, nullptr));
    if (player.offset >= player.size) drainAfterLastWrite(player);
}

} // namespace zelmo
