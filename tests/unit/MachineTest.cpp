// SPDX-License-Identifier: MIT
// The machine end to end on assembled images: entry points, re-entry, and what the collector
// keeps alive.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

const char* kEntryImage = R"(
.function @main main
.function "(*make<int>" make
.function "first" first
.function "second" second

main:
    RET 0, 0
make:                      ; [result, n, return]
    LOCADDR8 -3
    NEW CLASS_OBJECT, 2
    DUP
    FLDADDR8 1
    LDLOC8 -5
    STORE
    STORE
    RET 0, 2
first:
    PUSHSTR "first"
    NATIVE Debug.log
    RET 0, 0
second:
    PUSHSTR "second"
    NATIVE Debug.log
    RET 0, 0
)";

struct EntryFixture : ::testing::Test {
    VirtualMachine vm;
    RecordingHost host;
    int32_t module = loadImage(vm, kEntryImage, &host);
    int32_t handle(const char16_t* signature) { return vm.registerMethod(signature, module); }
};

TEST_F(EntryFixture, AReturnedReferenceSurvivesTheCollectionAfterTheCall)
{
    const uint32_t object = static_cast<uint32_t>(vm.invoke(handle(u"(make<int>"), {5}, {0}, 1));
    ASSERT_NE(object, 0u);
    EXPECT_EQ(vm.memory().load32(object + 4), 5u);
    EXPECT_EQ(vm.heap().entryOf(object)->freeHeapEntryIterator, 0u);
    EXPECT_FALSE(vm.heap().isRoot(object)); // rooted only while the heap was collected
}

// (Calls that arrive while the machine runs are queued: SchedulerTest shows it with a timer.)
TEST_F(EntryFixture, ReentryIsFatal)
{
    const int32_t second = handle(u"second");
    host.onLog = [&](const std::string& line) {
        if (line == "first") vm.invoke(second, {}, {}, -1);
    };
    try {
        vm.invoke(handle(u"first"), {}, {}, -1);
        FAIL() << "re-entry was not refused";
    } catch (const InvocationOutcome& outcome) {
        EXPECT_EQ(outcome.value, -2);
    }
    EXPECT_EQ(vm.runningHandle, -1);
}

// A list of a million nodes held only by a global survives the collection after the call and
// another one: marking follows long chains without running out of stack. (Cycles and stack
// words are HeapTest's and StackRoots'.)
TEST(Collector, ALongChainHeldByAGlobalSurvivesCollections)
{
    VirtualMachine vm;
    RecordingHost host;
    const int32_t module = loadImage(vm, R"(
.globals 2
.class Node refs=1
.function @main chain
chain:
    PUSH32 1000000
link:
    PUSHGLOBALS
    FLDADDR8 1
    NEW CLASS_OBJECT, 2
    DUP
    SETCLASS Node
    DUP
    FLDADDR8 1
    PUSHGLOBALS
    FLDADDR8 1
    LOAD
    STORE
    STORE
    LOCADDR8 -1
    DEC
    LDLOC8 -1
    JZ16 linked
    JMP16 link
linked:
    FRAME8 -1
    RET 0, 0
)",
                                     &host);
    vm.invoke(vm.registerMethod(u"main", module), {}, {}, -1);
    EXPECT_GE(vm.heap().entryCount(), 1000000);
    vm.collectGarbage();
    EXPECT_GE(vm.heap().entryCount(), 1000000);
}

} // namespace

// The last word of the stack is scanned like every other: as a plain word, and as the exact
// slot of a frame described by a method info ([return, slot 1], one more word reserved).
TEST(StackRoots, TheTopWordIsARootPlainOrDescribed)
{
    for (const bool described : {false, true}) {
        VirtualMachine vm;
        const uint32_t kept = vm.heap().allocate(4, 0, GC_CODE_NATIVE);
        const uint32_t dropped = vm.heap().allocate(4, 0, GC_CODE_NATIVE);
        if (described) {
            MethodGCInfo info;
            info.slotCount3 = 1;
            info.exactReferenceSlots = {1};
            vm.gcInfos.push_back(info);
            vm.calls.reset(0, 0);
        }
        vm.setSp(-1);
        vm.pushWord(0);
        vm.pushWord(static_cast<int32_t>(kept));
        vm.collectGarbage();
        EXPECT_TRUE(vm.heap().isLiveHandle(kept)) << described;
        EXPECT_FALSE(vm.heap().isLiveHandle(dropped)) << described;
    }
}
