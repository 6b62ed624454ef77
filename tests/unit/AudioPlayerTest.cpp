// SPDX-License-Identifier: MIT
// The audio player's queue over a fake output: operations wait for the output and run in order,
// their players stay rooted only while they wait, a failing output hands everything to the null
// output, players and extension can go in either order, and the operands of every operation.
#include "ErrorCodeOf.h"
#include "FileTestSupport.h"

#include "AudioPlayer/AudioPlayer.h"
#include "AudioPlayer/AudioPlayerExtension.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelmo;

namespace {

// Records the operations it is given; becomes ready or fails when the test says so. Gives each
// initialised player a stand-in stream so that releases can be checked.
class FakeOutput : public AudioOutput {
public:
    explicit FakeOutput(std::vector<std::string>& log) : m_log(log) {}
    void start(AudioOutputListener& listener) override { m_listener = &listener; }
    bool ready() const override { return m_ready; }
    void initialize(AudioPlayer& player) override
    {
        player.stream = reinterpret_cast<pa_stream*>(&m_streamStandIn);
        note("initialize", player);
    }
    void play(AudioPlayer& player) override { note("play", player); }
    void stop(AudioPlayer& player) override { note("stop", player); }
    void release(AudioPlayer& player) override
    {
        if (player.stream) note("release", player);
        player.stream = nullptr;
    }
    void note(const char* what, const AudioPlayer& player)
    {
        m_log.push_back(what + (" " + std::to_string(player.size)));
    }

    void becomeReady()
    {
        m_ready = true;
        m_listener->outputReady();
    }
    void fail(const std::string& reason) { m_listener->outputFailed(reason); }

private:
    std::vector<std::string>& m_log;
    AudioOutputListener* m_listener = nullptr;
    bool m_ready = false;
    int m_streamStandIn = 0;
};

struct Fixture {
    Fixture()
    {
        vm.setSp(-1);
        auto fake = std::make_unique<FakeOutput>(log);
        output = fake.get();
        extension = std::make_unique<AudioPlayerExtension>(vm, std::move(fake));
        out = vm.heap().allocate(4, 0, GC_CODE_NATIVE);
        vm.heap().addRoot(out);
    }
    // Op 2 on a clip of `bytes` bytes; returns the player stored through out.
    uint32_t load(size_t bytes)
    {
        const std::vector<uint8_t> samples(bytes, 7);
        stack.pushWord(static_cast<int32_t>(out));
        stack.pushWord(static_cast<int32_t>(vm.newByteArray(samples.data(), samples.size())));
        stack.pushWord(0);
        extension->call(2, stack);
        EXPECT_EQ(stack.top(), -1);
        return vm.loadWord(out);
    }
    void run(int32_t operation, uint32_t player)
    {
        stack.pushWord(static_cast<int32_t>(player));
        extension->call(operation, stack);
        EXPECT_EQ(stack.top(), -1);
    }
    void collect()
    {
        vm.setSp(-1);
        vm.collectGarbage();
    }

    VirtualMachine vm;
    ExtensionStack stack{vm};
    std::vector<std::string> log;
    FakeOutput* output = nullptr;
    std::unique_ptr<AudioPlayerExtension> extension;
    uint32_t out = 0;
};

TEST(AudioPlayer, OperationsWaitForTheOutputAndRunInOrder)
{
    Fixture f;
    const uint32_t first = f.load(4);
    f.run(3, first); // play before the output is ready
    const uint32_t second = f.load(6);
    f.run(4, second);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(f.extension->pendingOperations(), 4u);
    f.collect(); // the queue keeps both players, although nothing else refers to the first
    EXPECT_TRUE(f.vm.heap().isRoot(first));
    EXPECT_TRUE(f.vm.heap().isRoot(second));

    f.output->becomeReady();
    EXPECT_EQ(f.log,
              (std::vector<std::string>{"initialize 4", "play 4", "initialize 6", "stop 6"}));
    EXPECT_EQ(f.extension->pendingOperations(), 0u);
    EXPECT_FALSE(f.vm.heap().isRoot(first));
    EXPECT_FALSE(f.vm.heap().isRoot(second));

    // Once ready, an operation runs at once.
    f.log.clear();
    f.run(3, second);
    EXPECT_EQ(f.log, std::vector<std::string>{"play 6"});

    // Unreferenced players are collected; their streams are released first.
    f.log.clear();
    f.vm.storeWord(f.out, 0);
    const size_t live = f.vm.objects().liveCount();
    f.collect();
    EXPECT_EQ(f.vm.objects().liveCount(), live - 2);
    EXPECT_EQ(f.log, (std::vector<std::string>{"release 4", "release 6"}));
}

TEST(AudioPlayer, AFailedOutputHandsEverythingToTheNullOutput)
{
    Fixture f;
    const uint32_t streamed = f.load(2);
    f.output->becomeReady();
    f.output->fail("later");
    const uint32_t waiting = f.load(8);
    f.run(3, waiting);
    EXPECT_EQ(f.log, (std::vector<std::string>{"initialize 2", "release 2"}));
    EXPECT_TRUE(f.extension->isOff());
    EXPECT_EQ(f.vm.heap().objectAt<AudioPlayer>(streamed).stream, nullptr);
    // The null output plays a clip out at once and roots nothing.
    EXPECT_EQ(f.vm.heap().objectAt<AudioPlayer>(waiting).offset, 8u);
    EXPECT_FALSE(f.vm.heap().isRoot(waiting));

    // Failing while operations wait: they run against the null output; "off" is said once.
    Fixture g;
    const uint32_t player = g.load(4);
    g.run(3, player);
    ::testing::internal::CaptureStderr();
    g.output->fail("gone");
    g.output->fail("gone again");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "audio: off (gone)\n");
    EXPECT_TRUE(g.log.empty());
    EXPECT_EQ(g.extension->pendingOperations(), 0u);
    EXPECT_FALSE(g.vm.heap().isRoot(player));

    // Many clips through the null output leave nothing behind once collected.
    g.collect();
    const size_t live = g.vm.objects().liveCount();
    for (int i = 0; i < 10000; ++i)
        g.run(3, g.load(16));
    g.collect();
    EXPECT_EQ(g.vm.objects().liveCount(), live);
}

TEST(AudioPlayer, TheExtensionCanGoBeforeItsPlayers)
{
    Fixture f;
    const uint32_t player = f.load(4);
    f.output->becomeReady();
    f.run(3, player);
    f.extension.reset(); // releases the stream; the player keeps only its samples
    EXPECT_EQ(f.log.back(), "release 4");
    EXPECT_EQ(f.vm.heap().objectAt<AudioPlayer>(player).extension, nullptr);
    f.vm.storeWord(f.out, 0);
    f.collect(); // destroys the player without reaching the extension
    EXPECT_EQ(f.log.back(), "release 4");
}

// Loading refuses missing and empty files, play refuses what is no player, the operations
// without an effect only drop words (7 replaces its top by 0), and an unknown one is fatal.
TEST(AudioPlayer, RefusalsAndOperationsWithoutAnEffect)
{
    Fixture f;
    QTemporaryDir folder;
    HostServices host(folder.path().toStdU16String());
    f.vm.setHost(&host);
    zelmo::testing::putFile(folder.filePath("empty.raw"), "");
    const auto run = [&](int32_t operation, std::vector<int32_t> words) {
        f.vm.setSp(-1);
        for (const int32_t word : words)
            f.stack.pushWord(word);
        return zelmo::testing::failureOf([&] { f.extension->call(operation, f.stack); });
    };
    const auto text = [&](const char16_t* t) { return int32_t(f.vm.newString(OString(t))); };
    EXPECT_EQ(run(1, {int32_t(f.out), text(u"missing.raw"), 0}),
              "7 IOException: Could not open file: missing.raw");
    EXPECT_EQ(run(1, {int32_t(f.out), text(u"empty.raw"), 0}),
              "6 InvalidArgumentException: File is empty");
    EXPECT_EQ(run(3, {text(u"not a player")}), "10 VMException: AudioPlayer expected");
    EXPECT_EQ(run(7, {1234, 77}), "none");
    EXPECT_EQ(f.stack.popWord(), 0);
    EXPECT_EQ(f.stack.popWord(), 1234);
    for (const auto& [operation, dropped] : {std::pair{6, 1}, {9, 2}, {11, 2}, {14, 3}}) {
        EXPECT_EQ(run(operation, std::vector<int32_t>(size_t(dropped) + 1, 5)), "none");
        EXPECT_EQ(f.stack.top(), 0) << operation;
    }
    ::testing::internal::CaptureStderr();
    EXPECT_NE(run(5, {1}), "none");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "FATAL: AudioPlayer: Unknown opcode!\n");
}

} // namespace
