// SPDX-License-Identifier: MIT
// The machine end to end on assembled images: entry points, argument depths, the call queue,
// and what the collector keeps alive.
#include "MachineTestSupport.h"

#include <gtest/gtest.h>

using namespace zelmo;
using namespace zelmo::testing;

namespace {

const char* kEntryImage = R"(
.class App
.function @main main
.function "mainloop" other
.function "(*make<int>" make
.function "check<*int>" check
.function "show<int>" show
.function "first" first
.function "second" second
.function @keypressed keypressed
.function @pointerevent pointer

main:
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS App
    NATIVE System.setApplicationObject
    RET 0, 0
other:
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
check:                     ; [box, return]
    LDLOC8 -2
    LOAD
    ITOS
    NATIVE Debug.log
    RET 0, 1
show:                      ; [value, return]
    LDLOC8 -2
    ITOS
    NATIVE Debug.log
    RET 0, 1
first:
    PUSHSTR "first"
    NATIVE Debug.log
    PUSHSTR "first done"
    NATIVE Debug.log
    RET 0, 0
second:
    PUSHSTR "second"
    NATIVE Debug.log
    RET 0, 0
keypressed:                ; [app, event, return]
    LDLOC8 -2
    NATIVE KeyEvent.keyCode
    ITOS
    NATIVE Debug.log
    LDLOC8 -2
    NATIVE KeyEvent.text
    NATIVE Debug.log
    LDLOC8 -2
    NATIVE KeyEvent.scanCode
    ITOS
    NATIVE Debug.log
    RET 0, 2
pointer:                   ; [app, type, x, y, modifiers, return]
    LDLOC8 -4
    ITOS
    NATIVE Debug.log
    RET 0, 5
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

TEST_F(EntryFixture, CallsArrivingWhileRunningAreQueuedAndReentryIsFatal)
{
    const int32_t second = handle(u"second");
    host.onLog = [&](const std::string& line) {
        if (line == "first") vm.callMethod(second, {}, {}, -1);
    };
    vm.invoke(handle(u"first"), {}, {}, -1);
    EXPECT_EQ(host.lines, (std::vector<std::string>{"first", "first done", "second"}));
    EXPECT_EQ(vm.runningHandle, -1);

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

const char* kCollectorImage = R"(
.globals 2
.class Node refs=1          ; word 1: next, word 2: value
.function @main main
.function "store" store
.function "churn" churn
.function "read" read
.function "stackkeep" stackkeep
.function "cycle" cycle
.function "chain" chain

main:
    RET 0, 0
store:
    PUSHGLOBALS
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Node
    DUP
    FLDADDR8 2
    PUSH32 1234
    STORE
    STORE
    RET 0, 0
churn:
    PUSH32 2000
again:
    NEW CLASS_OBJECT, 3
    DUP
    FLDADDR8 2
    PUSH32 -1
    STORE
    FRAME8 -1
    LOCADDR8 -1
    DEC
    LDLOC8 -1
    JZ16 done
    JMP16 again
done:
    FRAME8 -1
    RET 0, 1
read:
    PUSHGLOBALS
    LOAD
    FLDADDR8 2
    LOAD
    ITOS
    NATIVE Debug.log
    RET 0, 0
stackkeep:                  ; the object lives only in a stack word while the collector runs
    NEW CLASS_OBJECT, 3
    DUP
    FLDADDR8 2
    PUSH32 777
    STORE
    PUSHSTR "collect"
    NATIVE Debug.log
    CALL churn, none
    FLDADDR8 2
    LOAD
    ITOS
    NATIVE Debug.log
    RET 0, 0
cycle:                      ; two nodes that point at each other, then dropped
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Node
    NEW CLASS_OBJECT, 3
    DUP
    SETCLASS Node
    DUP
    FLDADDR8 1
    LDLOC8 -3
    STORE
    LDLOC8 -2
    FLDADDR8 1
    LDLOC8 -2
    STORE
    FRAME8 -2
    RET 0, 0
chain:                      ; a list of a million nodes held by global 1
    PUSH32 1000000
link:
    PUSHGLOBALS
    FLDADDR8 1
    NEW CLASS_OBJECT, 3
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
)";

struct CollectorFixture : ::testing::Test {
    VirtualMachine vm;
    RecordingHost host;
    int32_t module = loadImage(vm, kCollectorImage, &host);
    void call(const char16_t* name) { vm.invoke(vm.registerMethod(name, module), {}, {}, -1); }
};

TEST_F(CollectorFixture, AnObjectHeldOnlyByAGlobalSurvivesCollections)
{
    call(u"store");
    for (int i = 0; i < 20; ++i) {
        call(u"churn"); // every call ends with a collection; freed memory is reused
        vm.collectGarbage();
    }
    call(u"read");
    EXPECT_EQ(host.lines, std::vector<std::string>{"1234"});
}

TEST_F(CollectorFixture, AStackWordKeepsItsObjectAliveDuringAMachineCollection)
{
    host.onLog = [&](const std::string& line) {
        if (line == "collect") vm.collectGarbage();
    };
    call(u"stackkeep");
    EXPECT_EQ(host.lines, (std::vector<std::string>{"collect", "777"}));
}

TEST_F(CollectorFixture, UnreachableCyclesAreReleasedAndLongChainsAreMarked)
{
    call(u"churn");
    const int32_t before = vm.heap().entryCount();
    call(u"cycle");
    EXPECT_EQ(vm.heap().entryCount(), before);

    call(u"chain");
    EXPECT_GE(vm.heap().entryCount(), before + 1000000);
    vm.collectGarbage();
    EXPECT_GE(vm.heap().entryCount(), before + 1000000);
}

} // namespace

namespace {

TEST(MergedImages, ASecondImageCatchesThroughItsOwnTry)
{
    VirtualMachine vm;
    RecordingHost host;
    // The first image has code of its own, so the second one's code base is not 0.
    loadImage(vm, R"(
.function @main main
main:
    PUSH32 1
    PUSH32 2
    ADD
    FRAME8 -1
    RET 0, 0
)",
              &host, u"first.mcb");
    const int32_t second = loadImage(vm, R"(
.identity 0102030405060708090a0b0c0d0e0f1011121314
.class Problem
.function "secondrun" run
run:
    TRY Problem, caught
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Problem
    THROW
    PUSHSTR "not caught"
    NATIVE Debug.log
    RET 0, 0
caught:
    FRAME8 -1
    PUSHSTR "caught in the second image"
    NATIVE Debug.log
    RET 0, 0
)",
                                     &host, u"second.mcb");
    ASSERT_EQ(second, 1);
    ASSERT_GT(vm.modules[1].codeBase, 0);
    vm.invoke(vm.registerMethod(u"secondrun", second), {}, {}, -1);
    EXPECT_EQ(host.lines, std::vector<std::string>{"caught in the second image"});
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
