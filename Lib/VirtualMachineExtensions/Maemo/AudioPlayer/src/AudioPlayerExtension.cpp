// SPDX-License-Identifier: MIT
#include "AudioPlayer/AudioPlayerExtension.h"

#include "AudioPlayer/AudioPlayer.h"
#include "Base/Errors.h"
#include "IO/Stream.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/FrameworkServices.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachineExtensions/ExtensionObjects.h"

#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace zelmo {

DeferredOperation::DeferredOperation(VMHeap& heap, uint32_t handle, AudioPlayer& player, Kind kind)
    : m_heap(heap), m_handle(handle), m_player(player), m_kind(kind)
{
    m_heap.addRoot(m_handle);
}

DeferredOperation::~DeferredOperation()
{
    m_heap.removeRoot(m_handle);
}

void DeferredOperation::run(AudioOutput& output)
{
    switch (m_kind) {
    case kInitialize:
        output.initialize(m_player);
        return;
    case kPlay:
        output.play(m_player);
        return;
    case kStop:
        output.stop(m_player);
        return;
    }
}

AudioPlayerExtension::AudioPlayerExtension(VirtualMachine& machine,
                                           std::unique_ptr<AudioOutput> output,
                                           const std::string& offReason, MachineDelivery wake)
    : m_machine(machine), m_output(std::move(output)), m_wake(std::move(wake))
{
    if (!offReason.empty())
        switchOff(offReason);
    else
        m_output->start(*this);
}

AudioPlayerExtension::~AudioPlayerExtension()
{
    m_queue.clear(); // un-roots the players while the machine is still there
    for (AudioPlayer* player : m_players) {
        m_output->release(*player);
        player->detach();
    }
    for (auto& retired : m_retired)
        for (AudioPlayer* player : m_players)
            retired->release(*player);
}

void AudioPlayerExtension::playerCreated(AudioPlayer& player)
{
    m_players.insert(&player);
}

void AudioPlayerExtension::playerDestroyed(AudioPlayer& player)
{
    m_output->release(player);
    for (auto& retired : m_retired)
        retired->release(player);
    m_players.erase(&player);
    wakeWhenIdle(); // it may have been the last clip still sounding
}

void AudioPlayerExtension::playerFinished()
{
    wakeWhenIdle();
}

bool AudioPlayerExtension::hasPendingWork() const
{
    return !m_queue.empty() ||
           std::any_of(m_players.begin(), m_players.end(),
                       [](const AudioPlayer* player) { return player->sounding; });
}

void AudioPlayerExtension::wakeWhenIdle()
{
    // Posted, never called in place: this may run inside the machine (a collection, a failure
    // inside the first call), where the run must not be ended under the application's feet.
    if (!m_wake || hasPendingWork()) return;
    QTimer::singleShot(0, &m_wakeContext, [this] { m_wake([](VirtualMachine&) {}); });
}

void AudioPlayerExtension::outputReady()
{
    runQueue();
    wakeWhenIdle(); // e.g. clips loaded and never played
}

void AudioPlayerExtension::outputFailed(const std::string& reason)
{
    switchOff(reason);
}

void AudioPlayerExtension::switchOff(const std::string& reason)
{
    if (m_off) return;
    m_off = true;
    std::fprintf(stderr, "audio: off (%s)\n", reason.c_str());
    // Streams made before the failure are of no use any more; drop them now rather than
    // leave them to the collector.
    for (AudioPlayer* player : m_players)
        m_output->release(*player);
    m_retired.push_back(std::move(m_output));
    m_output = std::make_unique<NullAudioOutput>();
    runQueue();
    wakeWhenIdle();
}

void AudioPlayerExtension::enqueue(uint32_t handle, DeferredOperation::Kind kind)
{
    AudioPlayer& player = m_machine.heap().objectAt<AudioPlayer>(handle);
    m_queue.push_back(std::make_unique<DeferredOperation>(m_machine.heap(), handle, player, kind));
    if (m_output->ready()) runQueue();
}

void AudioPlayerExtension::runQueue()
{
    // An operation never queues another, but the output may fail while one runs; the loop then
    // goes on against the null output.
    if (m_running) return;
    m_running = true;
    while (!m_queue.empty()) {
        std::unique_ptr<DeferredOperation> operation = std::move(m_queue.front());
        m_queue.pop_front();
        operation->run(*m_output);
    }
    m_running = false;
}

uint32_t AudioPlayerExtension::playerHandle(int32_t word)
{
    const uint32_t handle = static_cast<uint32_t>(word);
    extensionObject<AudioPlayer>(m_machine, handle, "AudioPlayer"); // checked before queueing
    return handle;
}

void AudioPlayerExtension::makePlayer(uint32_t out, std::vector<uint8_t> samples)
{
    const uint32_t handle = m_machine.heap().createObject(
        std::make_unique<AudioPlayer>(this, std::move(samples)), GC_CODE_NATIVE);
    storeOut(m_machine, out, handle);
    enqueue(handle, DeferredOperation::kInitialize);
}

void AudioPlayerExtension::loadFile(ExtensionStack& stack)
{
    const uint32_t out = static_cast<uint32_t>(stack.peekWord(2));
    const std::u16string path =
        m_machine.stringOf(static_cast<uint32_t>(stack.peekWord(1))).toU16();
    if (out == 0) throwError(kNullPointer, "NULL pointer");
    std::unique_ptr<TARNEL::InputStream> reader = m_machine.requireHost().openFileReader(path);
    if (!reader) throwError(kIO, u"Could not open file: " + path);
    const int size = reader->size();
    if (size == 0) throwError(kInvalidArgument, "File is empty");
    if (size < 0) throwError(kIO);
    std::vector<uint8_t> samples(static_cast<size_t>(size));
    const bool complete = reader->read(samples.data(), static_cast<uint32_t>(size));
    reader->close();
    reader.reset();
    if (!complete) throwError(kIO);
    makePlayer(out, std::move(samples));
}

void AudioPlayerExtension::loadBytes(ExtensionStack& stack)
{
    const uint32_t out = static_cast<uint32_t>(stack.peekWord(2));
    // Bounded by the vector's own size and checked against guest memory.
    std::vector<uint8_t> samples = m_machine.arrayBytes(static_cast<uint32_t>(stack.peekWord(1)));
    if (out == 0) throwError(kNullPointer, "NULL pointer");
    makePlayer(out, std::move(samples));
}

void AudioPlayerExtension::call(int32_t operation, ExtensionStack& stack)
{
    // Arguments are read in place and dropped only once the operation has succeeded: a failed
    // operation leaves the stack to the error handling.
    switch (operation) {
    case 1: // load a file (out, path, unused)
        loadFile(stack);
        for (int i = 0; i < 3; ++i)
            stack.popWord();
        return;
    case 2: // load a byte array (out, bytes, unused)
        loadBytes(stack);
        for (int i = 0; i < 3; ++i)
            stack.popWord();
        return;
    case 3: // play (player)
        enqueue(playerHandle(stack.peekWord()), DeferredOperation::kPlay);
        stack.popWord();
        return;
    case 4: // stop (player)
        enqueue(playerHandle(stack.peekWord()), DeferredOperation::kStop);
        stack.popWord();
        return;
    case 6:
        stack.popWord();
        return;
    case 7:
    case 8:
    case 10:
    case 12:
    case 13:
        stack.popWord();
        stack.pushWord(0);
        return;
    case 9:
    case 11:
        stack.popWord();
        stack.popWord();
        return;
    case 14:
        for (int i = 0; i < 3; ++i)
            stack.popWord();
        return;
    default:
        m_machine.fatalError("AudioPlayer: Unknown opcode!", m_machine.pc());
    }
}

} // namespace zelmo
