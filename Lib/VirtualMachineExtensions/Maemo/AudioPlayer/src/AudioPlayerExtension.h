// SPDX-License-Identifier: MIT
// Extension 28, the audio player. Each clip becomes an AudioPlayer in the machine's object
// table. The sound server connection comes up asynchronously, so every operation that needs
// the output is queued as a DeferredOperation (which keeps its player from being collected)
// and the queue runs, in order, once the output is ready. When the output fails, at start or
// later, the extension switches to the null output: the application runs on, silently.
#pragma once

#include "AudioPlayer/AudioOutput.h"
#include "VirtualMachineExtensions/Extension.h"

#include <QObject>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace zelmo {

class AudioPlayer;
class VMHeap;
class VirtualMachine;

struct AudioSettings {
    bool mute = false;       // --mute: the null output from the start
    int volumePercent = 100; // --volume: linear gain of every stream, 0..100
};

// A player operation waiting for the output. While it exists its player is a heap root.
class DeferredOperation {
public:
    enum Kind { kInitialize, kPlay, kStop };

    DeferredOperation(VMHeap& heap, uint32_t handle, AudioPlayer& player, Kind kind);
    virtual ~DeferredOperation();
    DeferredOperation(const DeferredOperation&) = delete;
    DeferredOperation& operator=(const DeferredOperation&) = delete;

    void run(AudioOutput& output);

private:
    VMHeap& m_heap;
    uint32_t m_handle;
    AudioPlayer& m_player;
    Kind m_kind;
};

class AudioPlayerExtension : public Extension, private AudioOutputListener {
public:
    // Starts `output` at once. `offReason`, when set, is why the null output was chosen.
    // `wake`, when set, is how the host hears from the event loop that the extension has
    // become idle (its call does nothing in the machine; the host checks whether the run has
    // anything left).
    AudioPlayerExtension(VirtualMachine& machine, std::unique_ptr<AudioOutput> output,
                         const std::string& offReason = {}, MachineDelivery wake = {});
    ~AudioPlayerExtension() override;
    AudioPlayerExtension(const AudioPlayerExtension&) = delete;
    AudioPlayerExtension& operator=(const AudioPlayerExtension&) = delete;

    void call(int32_t operation, ExtensionStack& stack) override;
    // Operations wait for the output, or a clip is still being played.
    bool hasPendingWork() const override;

    size_t pendingOperations() const { return m_queue.size(); }
    bool isOff() const { return m_off; }

    // Kept up to date by the players, so that their streams can be dropped when the output
    // fails or the extension goes before them.
    void playerCreated(AudioPlayer& player);
    void playerDestroyed(AudioPlayer& player);
    // A player's clip has ended.
    void playerFinished();

private:
    void outputReady() override;
    void outputFailed(const std::string& reason) override;
    void switchOff(const std::string& reason);

    void loadFile(ExtensionStack& stack);
    void loadBytes(ExtensionStack& stack);
    // Makes a player of `samples`, stores it through `out` and queues its initialize.
    void makePlayer(uint32_t out, std::vector<uint8_t> samples);
    // The player a stack word names; anything else is a managed error.
    uint32_t playerHandle(int32_t word);
    void enqueue(uint32_t handle, DeferredOperation::Kind kind);
    void runQueue();
    // Tells the host, from the event loop, once nothing is pending any more.
    void wakeWhenIdle();

    VirtualMachine& m_machine;
    std::unique_ptr<AudioOutput> m_output;
    // A failed output stays alive until the extension goes: it may be failing from inside one
    // of its own callbacks.
    std::vector<std::unique_ptr<AudioOutput>> m_retired;
    std::deque<std::unique_ptr<DeferredOperation>> m_queue;
    std::unordered_set<AudioPlayer*> m_players;
    bool m_off = false;
    bool m_running = false;
    MachineDelivery m_wake;
    QObject m_wakeContext; // wakes posted to the event loop go with the extension
};

// The extension for the host: the sound server's output, or the null output when muted, when
// the event loop cannot carry the server's callbacks, or when the server is not there.
std::unique_ptr<Extension> makeAudioPlayerExtension(VirtualMachine& machine,
                                                    const AudioSettings& settings,
                                                    MachineDelivery wake = {});

} // namespace zelmo
