// SPDX-License-Identifier: MIT
// The small native groups driven directly on a machine: Hash (objects that keep their bytes,
// empty digests), Range (references and stack values, refused bounds) and System (host queries,
// exit requests, the current date-time in a box, the operations without a font host), and the
// dispatch through the native registry.
#include "VirtualMachine/DateTime.h"
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

// Answers the queries with recognisable values and records what it is told.
class FakeHost : public HostServices {
public:
    FakeHost() : HostServices(u"/nonexistent") {}
    int32_t queryInteger13() override { return 13; }
    int32_t queryInteger14() override { return 14; }
    int32_t getCurrentTimeMillis() override { return -123456; }
    int32_t getElapsedMillis() override { return 4321; }
    int32_t queryString22(const std::u16string& text) override
    {
        queried.push_back(text);
        return 0;
    }
    void exitApplication() override { ++exits; }

    std::vector<std::u16string> queried;
    int exits = 0;
};

using Group = void (VirtualMachine::*)(int);

class SmallNatives : public ::testing::Test {
protected:
    SmallNatives() { vm.setHost(&host); }

    // `words` consecutive words holding the values.
    uint32_t block(const std::vector<int32_t>& values)
    {
        const uint32_t b =
            vm.heap().allocate(4 * static_cast<uint32_t>(values.size()), 0, GC_CODE_NATIVE);
        for (size_t i = 0; i < values.size(); ++i)
            vm.storeWord(b + 4 * static_cast<uint32_t>(i), static_cast<uint32_t>(values[i]));
        return b;
    }
    int32_t word(uint32_t address, int index = 0)
    {
        return static_cast<int32_t>(vm.loadWord(address + 4 * index));
    }
    void run(Group group, int operation, const std::vector<int32_t>& args)
    {
        vm.setSp(-1);
        for (int32_t a : args)
            vm.pushWord(a);
        (vm.*group)(operation);
    }
    std::string failure(Group group, int operation, const std::vector<int32_t>& args)
    {
        try {
            run(group, operation, args);
        } catch (const ErrorHandlingException&) {
            return toUtf8(lastErrorText());
        }
        return "no error";
    }
    int32_t bytes(const std::vector<uint8_t>& data)
    {
        return static_cast<int32_t>(vm.newByteArray(data.data(), data.size()));
    }

    FakeHost host;
    VirtualMachine vm;
};

constexpr Group kHashGroup = &VirtualMachine::hashNative;
constexpr Group kRangeGroup = &VirtualMachine::rangeNative;
constexpr Group kSystemGroup = &VirtualMachine::systemNative;
const std::string kNull = "NullPointerException: NULL pointer";
const std::string kInvalid = "InvalidArgumentException";

} // namespace

TEST_F(SmallNatives, HashObjectsKeepTheirBytesAndDigestNothing)
{
    const uint32_t h = block({0});
    run(kHashGroup, 1, {static_cast<int32_t>(h), 7});
    EXPECT_EQ(vm.sp(), -1);
    const uint32_t object = vm.loadWord(h);
    ASSERT_NE(object, 0u);
    EXPECT_EQ(vm.heap().entryOf(object)->gcCode, GC_CODE_HASH);
    const GCObject* state = vm.objects().find(vm.loadWord(object));
    ASSERT_NE(state, nullptr);

    const int32_t hi = static_cast<int32_t>(h);
    run(kHashGroup, 3, {hi, bytes({1, 2, 3})});
    EXPECT_EQ(vm.sp(), -1);
    run(kHashGroup, 3, {hi, bytes({4, 5, 6, 7})});
    run(kHashGroup, 3, {hi, bytes({})});
    EXPECT_GE(state->memoryOutsideHeap(), 7); // the buffer grew by the bytes given

    for (int i = 0; i < 2; ++i) { // digest leaves the buffer as it was: the same twice
        run(kHashGroup, 4, {hi});
        ASSERT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arrayLength(vm.argU(0)), 0);
    }
    run(kHashGroup, 2, {bytes({9, 9}), 1});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.arrayLength(vm.argU(0)), 0);
    EXPECT_NE(vm.arg(0), 0);

    EXPECT_EQ(failure(kHashGroup, 1, {0, 7}), kNull);
    EXPECT_EQ(failure(kHashGroup, 2, {0, 1}), kNull);
    EXPECT_EQ(failure(kHashGroup, 2, {static_cast<int32_t>(block({0, 1})), 1}), kNull); // no vector
    EXPECT_EQ(failure(kHashGroup, 3, {static_cast<int32_t>(block({0})), bytes({1})}), kNull);
    EXPECT_EQ(failure(kHashGroup, 3, {0, bytes({1})}), kNull);
    EXPECT_EQ(failure(kHashGroup, 3, {hi, 0}), kNull);
    EXPECT_EQ(failure(kHashGroup, 4, {static_cast<int32_t>(block({0}))}), kNull);
    EXPECT_EQ(failure(kHashGroup, 5, {}), "VMException: Hash:-1");
}

TEST_F(SmallNatives, RangeReferencesAndValues)
{
    const uint32_t r = block({7, 9});
    const int32_t ri = static_cast<int32_t>(r);
    auto range = [&] { return std::vector<int32_t>{word(r), word(r, 1)}; };
    using V = std::vector<int32_t>;

    run(kRangeGroup, 1, {ri});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(range(), (V{0, 0}));
    run(kRangeGroup, 3, {ri, 3, 3});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(range(), (V{3, 1})); // first = last: one element
    run(kRangeGroup, 3, {ri, 2, 5});
    EXPECT_EQ(range(), (V{2, 4}));
    run(kRangeGroup, 3, {ri, 1, std::numeric_limits<int32_t>::max()});
    EXPECT_EQ(range(), (V{1, std::numeric_limits<int32_t>::max()}));
    run(kRangeGroup, 4, {ri, 4, 0});
    EXPECT_EQ(range(), (V{4, 0}));
    run(kRangeGroup, 7, {ri, 6});
    EXPECT_EQ(vm.sp(), -1);
    run(kRangeGroup, 8, {ri, 11});
    EXPECT_EQ(range(), (V{6, 11}));
    run(kRangeGroup, 5, {ri});
    EXPECT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.arg(0), 6);
    run(kRangeGroup, 6, {ri});
    EXPECT_EQ(vm.arg(0), 11);
    for (int op : {11, 12}) {
        run(kRangeGroup, op, {ri, 5});
        EXPECT_EQ(vm.sp(), -1);
        EXPECT_EQ(range(), (V{5, -1}));
    }
    const uint32_t other = block({8, 2});
    run(kRangeGroup, 2, {ri, static_cast<int32_t>(other)});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(range(), (V{8, 2}));

    // Refused bounds leave the range alone.
    const V refused[] = {
        {3, ri, 4, 3},
        {3, ri, -1, 3},
        {3, ri, 0, -1},                                  // first > last, negative ends
        {3, ri, 0, std::numeric_limits<int32_t>::max()}, // one more index than a count holds
        {4, ri, -1, 0},
        {4, ri, 0, -1},
        {7, ri, -1},
        {8, ri, -1},
        {11, ri, -1},
        {12, ri, -1},
    };
    for (const V& row : refused) {
        EXPECT_EQ(failure(kRangeGroup, row[0], V(row.begin() + 1, row.end())), kInvalid) << row[0];
        EXPECT_EQ(range(), (V{8, 2}));
    }
    for (int op : {1, 5, 6})
        EXPECT_EQ(failure(kRangeGroup, op, {0}), kNull) << op;
    EXPECT_EQ(failure(kRangeGroup, 8, {0, 1}), kNull);
    EXPECT_EQ(failure(kRangeGroup, 2, {ri, 0}), kNull);

    // equals and notEquals take two values of two words each, straight from the stack.
    struct Row {
        V words;
        int32_t equals;
    };
    const Row values[] = {
        {{1, 2, 1, 2}, 1}, {{1, 2, 1, 3}, 0}, {{0, 2, 1, 2}, 0}, {{0, -1, 0, -1}, 1}};
    for (const Row& row : values) {
        run(kRangeGroup, 9, row.words);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), row.equals);
        run(kRangeGroup, 10, row.words);
        EXPECT_EQ(vm.arg(0), 1 - row.equals);
    }
    EXPECT_EQ(failure(kRangeGroup, 13, {}), "VMException: Range:-1");
}

TEST_F(SmallNatives, SystemQueriesPushTheirAnswers)
{
    struct Row {
        int operation;
        int32_t expected;
    };
    for (const Row& row : {Row{3, 4321}, Row{6, 14}, Row{7, 13}, Row{8, -123456}}) {
        run(kSystemGroup, row.operation, {99});
        EXPECT_EQ(vm.sp(), 1) << row.operation;
        EXPECT_EQ(vm.arg(0), row.expected) << row.operation;
        EXPECT_EQ(vm.arg(1), 99);
    }
    run(kSystemGroup, 4, {});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(toUtf8(vm.stringOf(vm.argU(0)).view()), "No Callstack available");

    run(kSystemGroup, 13, {1, 2, 3});
    EXPECT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.arg(0), 1);
    for (int op : {14, 15}) {
        run(kSystemGroup, op, {1, 2});
        EXPECT_EQ(vm.sp(), 1);
        EXPECT_EQ(vm.arg(0), 0);
        EXPECT_EQ(vm.arg(1), 1);
    }
    // Fonts come with the window host; until then these are unknown operations.
    for (int op : {10, 11, 12, 16, 0})
        EXPECT_EQ(failure(kSystemGroup, op, {0}), "VMException: System:-1") << op;
}

TEST_F(SmallNatives, SystemNowComesInABox)
{
    qputenv("TZ", "Asia/Tokyo"); // always UTC + 9
    tzset();
    for (int32_t timezone : {0, 1}) {
        run(kSystemGroup, 9, {timezone});
        ASSERT_EQ(vm.sp(), 0);
        const uint32_t box = vm.argU(0);
        EXPECT_EQ(vm.heap().entryOf(box)->gcCode, GC_CODE_REFERENCE);
        const auto& d = vm.heap().objectAt<Tarnel::DateTime>(vm.loadWord(box));
        EXPECT_EQ(d.timezone(), timezone);
        // The DateTime group takes the box as its reference.
        run(&VirtualMachine::dateTimeNative, 13, {static_cast<int32_t>(box)});
        EXPECT_EQ(vm.arg(0), timezone);
    }
    run(kSystemGroup, 9, {0});
    const auto& local = vm.heap().objectAt<Tarnel::DateTime>(vm.loadWord(vm.argU(0)));
    run(kSystemGroup, 9, {1});
    const auto& utc = vm.heap().objectAt<Tarnel::DateTime>(vm.loadWord(vm.argU(0)));
    const int hours = (local.hour() - utc.hour() + 24) % 24;
    if (local.second() == utc.second()) { // not across a second boundary
        EXPECT_EQ(hours, 9);
    }
    EXPECT_EQ(failure(kSystemGroup, 9, {2}), kInvalid);
    EXPECT_EQ(failure(kSystemGroup, 9, {-1}), kInvalid);
}

TEST_F(SmallNatives, SystemExitRequests)
{
    const uint32_t text = vm.newString(OString(u"bye"));
    EXPECT_EQ(failure(kSystemGroup, 2, {static_cast<int32_t>(text)}), "UnknownException (CODE:12)");
    EXPECT_EQ(lastErrorCode(), kExit);
    ASSERT_EQ(host.queried.size(), 1u);
    EXPECT_EQ(host.queried[0], u"bye");
    // Even without a string the request ends the invocation.
    EXPECT_EQ(failure(kSystemGroup, 2, {0}), "UnknownException (CODE:12)");
    EXPECT_EQ(host.queried.size(), 2u);

    EXPECT_EQ(failure(kSystemGroup, 1, {}), "UnknownException (CODE:12)");
    EXPECT_EQ(host.exits, 1);
}

TEST_F(SmallNatives, SystemApplicationObjectIsRooted)
{
    const uint32_t first = block({1}), second = block({2});
    run(kSystemGroup, 5, {static_cast<int32_t>(first)});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(vm.applicationObject, first);
    EXPECT_TRUE(vm.heap().isRoot(first));
    run(kSystemGroup, 5, {static_cast<int32_t>(second)});
    EXPECT_FALSE(vm.heap().isRoot(first));
    EXPECT_TRUE(vm.heap().isRoot(second));
}

// Dispatch reads the catalog and the bindings: operations outside the catalog, and catalogued
// groups nobody bound (the drawing groups in a machine without a window), answer with their
// group's message; an operation binding wins over its group's handler.
TEST_F(SmallNatives, DispatchFollowsTheCatalogAndTheBindings)
{
    const auto dispatch = [&](int group, int operation) -> std::string {
        try {
            vm.setSp(-1);
            vm.dispatchNative(group, operation);
        } catch (const ErrorHandlingException&) {
            return toUtf8(lastErrorText());
        }
        return "no error";
    };
    const std::string pc = std::to_string(vm.pc());
    EXPECT_EQ(dispatch(13, 1), "VMException: Color:" + pc);
    EXPECT_EQ(dispatch(31, 8), "VMException: Screen:" + pc);
    EXPECT_EQ(dispatch(8, 3), "VMException: String:" + pc);
    EXPECT_EQ(dispatch(1, 1), "VMException: Vector:" + pc);
    EXPECT_EQ(dispatch(9, 0), "VMException: Byte:" + pc);
    EXPECT_EQ(dispatch(36, 11), "VMException: Float: invalid opcode: 11");
    EXPECT_EQ(dispatch(35, -1), "VMException: KeyEvent: invalid opcode -1");

    static int reached = 0;
    const NativeHandler own = [](VirtualMachine&, int operation) { reached = operation; };
    const NativeHandler group = [](VirtualMachine&, int operation) { reached = -operation; };
    ASSERT_TRUE(bindNativeOperation(13, 4, own));
    ASSERT_TRUE(bindNativeGroup(13, group));
    EXPECT_EQ(dispatch(13, 4), "no error");
    EXPECT_EQ(reached, 4);
    EXPECT_EQ(dispatch(13, 5), "no error");
    EXPECT_EQ(reached, -5);
    EXPECT_EQ(dispatch(13, 25), "VMException: Color:" + pc); // not catalogued
    // Only what the catalog knows can be bound.
    EXPECT_FALSE(bindNativeGroup(2, group));
    EXPECT_FALSE(bindNativeOperation(13, 25, own));
    bindNativeGroup(13, nullptr);
    bindNativeOperation(13, 4, nullptr);
    EXPECT_EQ(dispatch(13, 4), "VMException: Color:" + pc);
}
