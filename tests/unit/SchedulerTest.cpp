// SPDX-License-Identifier: MIT
// Host timers: refused requests, events queued while the machine runs, and the Timer native
// group's ids and checks. Ticks served by the event loop are shown by the images under
// images/timers.
#include "host/Scheduler.h"
#include "IO/MemoryInputStream.h"
#include "NativeCall.h"
#include "host/HostServices.h"
#include "image/Assembler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <limits>

using namespace zelmo;

namespace {

constexpr int kTimer = 33;

// Counter instances count their own ticks in word 1; global 0 holds one.
constexpr const char* kImage = R"(
.globals 1
.class Counter
.selector @timerevent
.impl Counter tick
.function @main main
.function "noop" noop

main:
    PUSHGLOBALS
    FLDADDR8 0
    NEW CLASS_OBJECT, 2
    DUP
    SETCLASS Counter
    STORE
    RET 0, 1
tick:
    LDLOC8 -2
    FLDADDR8 1
    INC
    RET 0, 2
noop:
    RET 0, 1
)";

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "SchedulerTest";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class SchedulerTest : public zelmo::testing::NativeCall, public TimerSink {
protected:
    static void SetUpTestSuite() { application(); }

    void SetUp() override
    {
        const std::vector<uint8_t> bytes = image::assembleToBytes(kImage, "scheduler.asm");
        TARNEL::MemoryInputStream stream(bytes);
        host.scheduler().setSink(this);
        vm.load(stream, u"index.mcb", &host);
    }

    // Stands in for the application session.
    void timerExpired(uint32_t listener) override { vm.sendSystemTimerEvent(listener); }

    Scheduler& scheduler() { return host.scheduler(); }
    uint32_t global(int k) { return vm.loadWord(vm.globalsHandle + 4 * k); }
    int32_t ticks(uint32_t listener) { return static_cast<int32_t>(vm.loadWord(listener + 4)); }
    int interval(int32_t id) { return scheduler().findTimer(id)->platformTimer()->interval(); }

    // A class instance that nothing else refers to.
    uint32_t newCounter()
    {
        const uint32_t object = vm.heap().allocate(8, 0, GC_CODE_CLASS_OBJECT);
        vm.storeWord(object, vm.loadWord(global(0))); // Counter's class id
        vm.storeWord(object + 4, 0);
        return object;
    }

    HostServices host{u"/nonexistent"};
};

} // namespace

TEST_F(SchedulerTest, RefusesWhatItCannotServe)
{
    const uint32_t tooLong = uint32_t{std::numeric_limits<int>::max()} + 1;
    EXPECT_EQ(scheduler().addTimer(1, tooLong), -1);
    EXPECT_EQ(scheduler().timerCount(), 0u);

    // The host refuses negative delays with a failure result.
    EXPECT_EQ(host.addTimer(global(0), -1), -1);
    EXPECT_EQ(scheduler().timerCount(), 0u);
    const int32_t id = host.addTimer(global(0), 40);
    ASSERT_GE(id, 10);
    EXPECT_FALSE(host.updateTimerDelay(id, -5));
    EXPECT_EQ(interval(id), 40);
    EXPECT_TRUE(host.updateTimerDelay(id, 0));
    EXPECT_EQ(interval(id), 0);
    EXPECT_FALSE(scheduler().updateTimerDelay(id + 100, 5)); // no such timer: no effect
    EXPECT_EQ(host.removeTimer(id + 100), 0u);
    EXPECT_EQ(host.removeTimer(id), global(0));
}

TEST_F(SchedulerTest, AnEventWhileTheMachineRunsIsQueued)
{
    const uint32_t a = global(0);
    const int32_t id = scheduler().addTimer(a, 60000);
    vm.runningHandle = vm.mainHandle; // as while bytecode runs
    scheduler().findTimer(id)->timeout();
    vm.runningHandle = -1;
    ASSERT_EQ(vm.queue.size(), 1u);
    EXPECT_EQ(vm.queue.front()->args, std::vector<int32_t>{static_cast<int32_t>(a)});
    EXPECT_EQ(vm.queue.front()->kinds, std::vector<int32_t>{1});
    EXPECT_EQ(ticks(a), 0);
    // It runs right after the invocation in progress.
    vm.invoke(vm.registerMethod(u"noop", 0), {}, {}, -1);
    EXPECT_TRUE(vm.queue.empty());
    EXPECT_EQ(ticks(a), 1);
}

TEST_F(SchedulerTest, TimerNativesCheckTheirInputs)
{
    // A null listener roots nothing; its removal reports no listener. Ids are never handed out
    // again, and negative delays count as 0.
    call(kTimer, 1, {0, 10});
    const int32_t id = vm.arg(0);
    EXPECT_EQ(host.removeTimer(id), 0u);
    call(kTimer, 1, {global(0), -5});
    const int32_t second = vm.arg(0);
    EXPECT_EQ(second, id + 1);
    EXPECT_EQ(interval(second), 0);
    call(kTimer, 3, {second, 30});
    call(kTimer, 3, {second, -3});
    EXPECT_EQ(interval(second), 0);
    call(kTimer, 2, {second});
    call(kTimer, 2, {second}); // removing twice does nothing
    EXPECT_EQ(scheduler().timerCount(), 0u);
    EXPECT_FALSE(vm.heap().isRoot(global(0)));

    EXPECT_EQ(failureText(kTimer, 1, {global(0) + 4, 10}), "VMException: Invalid heap reference");
    EXPECT_EQ(failureText(kTimer, 1, {12345, 10}), "VMException: Invalid heap reference");
    EXPECT_EQ(scheduler().timerCount(), 0u);
    EXPECT_EQ(failureText(kTimer, 4, {}), "VMException: Timer:-1");

    // A host that answers with an id below 10 is broken: the machine stops, nothing stays rooted.
    class BrokenHost : public HostServices {
    public:
        BrokenHost() : HostServices(u"/nonexistent") {}
        int32_t addTimer(uint32_t, int32_t) override { return 3; }
    } broken;
    vm.setHost(&broken);
    const uint32_t listener = newCounter();
    call(kTimer, 2, {12345}); // an unknown id is no error
    EXPECT_EQ(failure(kTimer, 1, {listener, 10}), kFatal);
    EXPECT_FALSE(vm.heap().isRoot(listener));
    vm.setHost(&host);
}
