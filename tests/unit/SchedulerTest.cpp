// SPDX-License-Identifier: MIT
// Host timers: ids that start at 10 and are never reused, refused requests, ticks served by the Qt
// event loop into a real image method, changed periods, removal (also from inside the timer's
// own event), events queued while the machine runs, and the Timer native group with its
// listener roots.
#include "host/Scheduler.h"
#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"
#include "image/Assembler.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <limits>

using namespace zelmo;

namespace {

// Counter instances count their own ticks in word 1; a SelfRemover removes the timer whose id
// is in global 2 from inside its event.
constexpr const char* kImage = R"(
.globals 3                      ; 0, 1: two counters; 2: the self-removing timer's id
.class Counter
.class SelfRemover
.selector @timerevent
.impl Counter tick
.impl SelfRemover tickAndRemove
.function @main main
.function "noop" noop

main:
    PUSHGLOBALS
    FLDADDR8 0
    NEW CLASS_OBJECT, 2
    DUP
    SETCLASS Counter
    STORE
    PUSHGLOBALS
    FLDADDR8 1
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
tickAndRemove:
    LDLOC8 -2
    FLDADDR8 1
    INC
    PUSHGLOBALS
    FLDADDR8 2
    LOAD
    NATIVE Timer.removeTimer
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

class SchedulerTest : public ::testing::Test, public TimerSink {
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
    void timerExpired(uint32_t listener) override
    {
        ++deliveries;
        vm.sendSystemTimerEvent(listener);
    }

    Scheduler& scheduler() { return host.scheduler(); }
    uint32_t global(int k) { return vm.loadWord(vm.globalsHandle + 4 * k); }
    int32_t ticks(uint32_t listener) { return static_cast<int32_t>(vm.loadWord(listener + 4)); }
    int interval(int32_t id) { return scheduler().findTimer(id)->platformTimer()->interval(); }

    // Serves events until `done` holds (or five seconds pass); whether it holds.
    bool serveUntil(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done() || clock.elapsed() > 5000) loop.quit();
        });
        poll.start(1);
        loop.exec();
        return done();
    }

    // A class instance that nothing else refers to.
    uint32_t newCounter()
    {
        const uint32_t object = vm.heap().allocate(8, 0, GC_CODE_CLASS_OBJECT);
        vm.storeWord(object, vm.loadWord(global(0))); // Counter's class id
        vm.storeWord(object + 4, 0);
        return object;
    }
    bool isFree(uint32_t handle)
    {
        const HeapEntry* around = vm.heap().belongsToPools(handle - kHeapEntryHeader);
        return around && around->freeHeapEntryIterator != 0;
    }

    void runTimerNative(int operation, const std::vector<int32_t>& args)
    {
        vm.setSp(-1);
        for (int32_t a : args)
            vm.pushWord(a);
        vm.timerNative(operation);
    }
    std::string timerFailure(int operation, const std::vector<int32_t>& args)
    {
        try {
            runTimerNative(operation, args);
        } catch (const ErrorHandlingException&) {
            return toUtf8(lastErrorText());
        }
        return "no error";
    }

    HostServices host{u"/nonexistent"};
    VirtualMachine vm;
    int deliveries = 0;
};

} // namespace

TEST_F(SchedulerTest, IdsStartAtTenAndAreNeverReused)
{
    const uint32_t listener = global(0);
    const int32_t first = scheduler().addTimer(listener, 60000);
    EXPECT_EQ(first, 10);
    EXPECT_EQ(scheduler().removeTimer(first), listener);
    EXPECT_EQ(scheduler().addTimer(listener, 60000), first + 1);
    EXPECT_EQ(scheduler().findTimer(first), nullptr);
    EXPECT_EQ(scheduler().removeTimer(first), 0u); // removing twice
    ASSERT_NE(scheduler().findTimer(first + 1), nullptr);
    EXPECT_EQ(scheduler().findTimer(first + 1)->listener(), listener);
    EXPECT_EQ(scheduler().timerCount(), 1u);
    // Unbinding the sink stops every timer: nothing could receive its expiry.
    scheduler().setSink(nullptr);
    EXPECT_EQ(scheduler().timerCount(), 0u);
    EXPECT_EQ(scheduler().addTimer(listener, 10), -1);
}

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
    EXPECT_FALSE(scheduler().updateTimerDelay(id, -5));
    EXPECT_EQ(interval(id), 40);
    EXPECT_TRUE(host.updateTimerDelay(id, 0));
    EXPECT_EQ(interval(id), 0);
    EXPECT_FALSE(scheduler().updateTimerDelay(id + 100, 5)); // no such timer: no effect
    EXPECT_EQ(host.removeTimer(id + 100), 0u);
    EXPECT_EQ(host.removeTimer(id), global(0));
}

TEST_F(SchedulerTest, TicksReachTheImageFromTheEventLoop)
{
    const uint32_t a = global(0), b = global(1);
    const int32_t idA = scheduler().addTimer(a, 0);
    const int32_t idB = scheduler().addTimer(b, 60000);
    // A delay of 0 fires on every pass of the event loop.
    ASSERT_TRUE(serveUntil([&] { return ticks(a) >= 3; }));
    EXPECT_EQ(ticks(b), 0);
    EXPECT_EQ(deliveries, ticks(a));

    // Swap the periods: B fires, A no longer does.
    EXPECT_TRUE(scheduler().updateTimerDelay(idB, 0));
    EXPECT_TRUE(scheduler().updateTimerDelay(idA, 60000));
    const int32_t ticksOfA = ticks(a);
    ASSERT_TRUE(serveUntil([&] { return ticks(b) >= 3; }));
    EXPECT_EQ(ticks(a), ticksOfA);
    EXPECT_EQ(deliveries, ticks(a) + ticks(b));

    // Removed timers fire no more.
    EXPECT_EQ(scheduler().removeTimer(idA), a);
    EXPECT_EQ(scheduler().removeTimer(idB), b);
    const int32_t ticksOfB = ticks(b);
    int passes = 0;
    serveUntil([&] { return ++passes > 20; });
    EXPECT_EQ(ticks(b), ticksOfB);
    EXPECT_EQ(deliveries, ticks(a) + ticks(b));
}

TEST_F(SchedulerTest, ATimerMayRemoveItselfFromItsOwnEvent)
{
    const uint32_t remover = vm.heap().allocate(8, 0, GC_CODE_CLASS_OBJECT);
    vm.storeWord(remover, vm.loadWord(global(0)) + 1); // SelfRemover's class id
    vm.storeWord(remover + 4, 0);
    // Rooted twice: the Timer native drops one root when the handler removes the timer.
    vm.heap().addRoot(remover);
    vm.heap().addRoot(remover);
    const int32_t id = scheduler().addTimer(remover, 0);
    vm.storeWord(vm.globalsHandle + 8, static_cast<uint32_t>(id));
    ASSERT_TRUE(serveUntil([&] { return scheduler().timerCount() == 0; }));
    int passes = 0;
    serveUntil([&] { return ++passes > 20; });
    EXPECT_EQ(ticks(remover), 1);
    EXPECT_EQ(deliveries, 1);
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

TEST_F(SchedulerTest, WithoutAnEventMethodTicksHaveNoEffect)
{
    const uint32_t a = global(0);
    vm.timerEventHandle = -1; // as in an image that exports no systemtimerevent
    const int32_t id = scheduler().addTimer(a, 0);
    int passes = 0;
    serveUntil([&] { return ++passes > 20 && deliveries > 2; });
    EXPECT_GT(deliveries, 2);
    EXPECT_EQ(ticks(a), 0);
    EXPECT_TRUE(vm.queue.empty());
    scheduler().removeTimer(id);
}

TEST_F(SchedulerTest, TimerNativesRootListenersWhileTheirTimersExist)
{
    const uint32_t listener = newCounter();
    const int32_t l = static_cast<int32_t>(listener);
    runTimerNative(1, {l, -5}); // a negative delay counts as 0
    ASSERT_EQ(vm.sp(), 0);
    const int32_t id = vm.arg(0);
    ASSERT_GE(id, 10);
    EXPECT_EQ(interval(id), 0);
    EXPECT_TRUE(vm.heap().isRoot(listener));

    runTimerNative(3, {id, 250});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(interval(id), 250);
    runTimerNative(3, {id, -7});
    EXPECT_EQ(interval(id), 0);

    // A second timer on the same listener holds its own root.
    runTimerNative(1, {l, 100});
    const int32_t second = vm.arg(0);
    EXPECT_EQ(second, id + 1);
    vm.heap().collect();
    EXPECT_FALSE(isFree(listener));
    runTimerNative(2, {id});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_TRUE(vm.heap().isRoot(listener));
    runTimerNative(2, {second});
    EXPECT_FALSE(vm.heap().isRoot(listener));
    runTimerNative(2, {second}); // removing twice unroots nothing
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(scheduler().timerCount(), 0u);
    vm.heap().collect();
    EXPECT_TRUE(isFree(listener));
}

TEST_F(SchedulerTest, TimerNativesCheckTheirInputs)
{
    // A null listener roots nothing; its removal reports no listener.
    runTimerNative(1, {0, 10});
    const int32_t id = vm.arg(0);
    EXPECT_EQ(host.removeTimer(id), 0u);

    const int32_t forged = static_cast<int32_t>(global(0) + 4);
    EXPECT_EQ(timerFailure(1, {forged, 10}), "VMException: Invalid heap reference");
    EXPECT_EQ(timerFailure(1, {12345, 10}), "VMException: Invalid heap reference");
    EXPECT_EQ(scheduler().timerCount(), 0u);
    EXPECT_EQ(timerFailure(4, {}), "VMException: Timer:-1");
    EXPECT_EQ(timerFailure(0, {}), "VMException: Timer:-1");

    // A host that answers with an id below 10 is broken: the machine stops, nothing stays rooted.
    class BrokenHost : public HostServices {
    public:
        BrokenHost() : HostServices(u"/nonexistent") {}
        int32_t addTimer(uint32_t, int32_t) override { return 3; }
    } broken;
    vm.setHost(&broken);
    const uint32_t listener = newCounter();
    runTimerNative(2, {12345}); // an unknown id is no error
    try {
        runTimerNative(1, {static_cast<int32_t>(listener), 10});
        ADD_FAILURE() << "accepted";
    } catch (const ErrorHandlingException&) {
        EXPECT_EQ(lastErrorCode(), kFatal);
    }
    EXPECT_FALSE(vm.heap().isRoot(listener));
    vm.setHost(&host);
}
