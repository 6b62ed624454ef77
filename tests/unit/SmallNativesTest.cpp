// SPDX-License-Identifier: MIT
// The small native groups driven directly on a machine: Hash (objects fed with bytes, empty
// digests), Range (references and stack values, refused bounds) and System (platform answers,
// clocks, the current date-time, stack helpers, the application object and the request to exit).
#include "NativeCall.h"
#include "VirtualMachine/DateTime.h"
#include "host/HostServices.h"

#include <limits>
#include <string>
#include <vector>

using namespace zelmo;

namespace {

constexpr int kRangeGroup = 14, kSystem = 32, kHash = 34;
const std::string kNull = "NullPointerException: NULL pointer";
const std::string kInvalid = "InvalidArgumentException";

class SmallNatives : public zelmo::testing::NativeCall {
protected:
    int32_t word(uint32_t address, int index = 0)
    {
        return static_cast<int32_t>(vm.loadWord(address + 4 * index));
    }
};

} // namespace

TEST_F(SmallNatives, HashObjectsTakeBytesAndDigestNothing)
{
    const uint32_t h = block({0});
    call(kHash, 1, {h, 7});
    EXPECT_EQ(vm.sp(), -1);
    const uint32_t object = vm.loadWord(h);
    ASSERT_NE(object, 0u);
    EXPECT_EQ(vm.heap().entryOf(object)->gcCode, GC_CODE_HASH);
    call(kHash, 3, {h, bytes({1, 2, 3})});
    EXPECT_EQ(vm.sp(), -1);
    call(kHash, 3, {h, bytes({})});

    for (int i = 0; i < 2; ++i) { // digest leaves the buffer as it was: the same twice
        call(kHash, 4, {h});
        ASSERT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arrayLength(vm.argU(0)), 0);
    }
    call(kHash, 2, {bytes({9, 9}), 1});
    ASSERT_EQ(vm.sp(), 0);
    EXPECT_EQ(vm.arrayLength(vm.argU(0)), 0);
    EXPECT_NE(vm.arg(0), 0);

    EXPECT_EQ(failureText(kHash, 1, {0, 7}), kNull);
    EXPECT_EQ(failureText(kHash, 2, {0, 1}), kNull);
    EXPECT_EQ(failureText(kHash, 2, {block({0, 1}), 1}), kNull); // no vector
    EXPECT_EQ(failureText(kHash, 3, {block({0}), bytes({1})}), kNull);
    EXPECT_EQ(failureText(kHash, 3, {0, bytes({1})}), kNull);
    EXPECT_EQ(failureText(kHash, 3, {h, 0}), kNull);
    EXPECT_EQ(failureText(kHash, 4, {block({0})}), kNull);
    EXPECT_EQ(failureText(kHash, 5, {}), "VMException: Hash:-1");
}

TEST_F(SmallNatives, RangeReferencesAndValues)
{
    const uint32_t r = block({7, 9});
    const int32_t ri = static_cast<int32_t>(r);
    auto range = [&] { return std::vector<int32_t>{word(r), word(r, 1)}; };
    using V = std::vector<int32_t>;

    const int32_t other = static_cast<int32_t>(block({8, 2}));
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kNone = INT32_MIN;
    struct Step {
        int op;
        V args; // after the range's address
        V range;
        int32_t top; // the word left on the stack, kNone when the operation pops everything
    };
    const Step steps[] = {
        {1, {}, {0, 0}, kNone},      {3, {3, 3}, {3, 1}, kNone}, // first = last: one
        {3, {2, 5}, {2, 4}, kNone},  {3, {1, kMax}, {1, kMax}, kNone}, {4, {4, 0}, {4, 0}, kNone},
        {7, {6}, {6, 0}, kNone},     {8, {11}, {6, 11}, kNone},        {5, {}, {6, 11}, 6},
        {6, {}, {6, 11}, 11},        {11, {5}, {5, -1}, kNone},        {12, {4}, {4, -1}, kNone},
        {2, {other}, {8, 2}, kNone},
    };
    for (const Step& step : steps) {
        V args{ri};
        args.insert(args.end(), step.args.begin(), step.args.end());
        call(kRangeGroup, step.op, args);
        EXPECT_EQ(vm.sp(), step.top == kNone ? -1 : 0) << step.op;
        EXPECT_EQ(step.top == kNone ? kNone : vm.arg(0), step.top) << step.op;
        EXPECT_EQ(range(), step.range) << step.op;
    }

    // Refused bounds leave the range alone: first > last, negative ends, one more index than a
    // count holds.
    const V refused[] = {{3, ri, 4, 3},  {3, ri, -1, 3}, {3, ri, 0, -1}, {3, ri, 0, kMax},
                         {4, ri, -1, 0}, {4, ri, 0, -1}, {7, ri, -1},    {8, ri, -1},
                         {11, ri, -1},   {12, ri, -1}};
    for (const V& row : refused) {
        EXPECT_EQ(failureText(kRangeGroup, row[0], V(row.begin() + 1, row.end())), kInvalid)
            << row[0];
        EXPECT_EQ(range(), (V{8, 2}));
    }
    for (int op : {1, 5, 6})
        EXPECT_EQ(failureText(kRangeGroup, op, {0}), kNull) << op;
    EXPECT_EQ(failureText(kRangeGroup, 8, {0, 1}), kNull);
    EXPECT_EQ(failureText(kRangeGroup, 2, {ri, 0}), kNull);

    // equals and notEquals take two values of two words each, straight from the stack.
    struct Row {
        V words;
        int32_t equals;
    };
    const Row values[] = {
        {{1, 2, 1, 2}, 1}, {{1, 2, 1, 3}, 0}, {{0, 2, 1, 2}, 0}, {{0, -1, 0, -1}, 1}};
    for (const Row& row : values) {
        call(kRangeGroup, 9, row.words);
        EXPECT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.arg(0), row.equals);
        call(kRangeGroup, 10, row.words);
        EXPECT_EQ(vm.arg(0), 1 - row.equals);
    }
    EXPECT_EQ(failureText(kRangeGroup, 13, {}), "VMException: Range:-1");
}

TEST_F(SmallNatives, SystemAnswersHelpersAndTheApplicationObject)
{
    HostServices host(u"/nonexistent");
    vm.setHost(&host);
    using V = std::vector<int32_t>;
    for (int op : {6, 7}) { // the platform queries answer 0 on this host
        call(kSystem, op, {9});
        EXPECT_EQ(stack(), (V{9, 0})) << op;
    }
    call(kSystem, 4, {});
    EXPECT_EQ(text(vm.argU(0)), "No Callstack available");
    // The wall clock in milliseconds, truncated to 32 bits, lies between two reads of the
    // system clock; the time since start is not negative.
    host.markStarted();
    const uint32_t before = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    call(kSystem, 8, {});
    const uint32_t after = static_cast<uint32_t>(HostServices::nowMicroseconds() / 1000);
    EXPECT_LE(uint32_t(vm.arg(0)) - before, after - before);
    call(kSystem, 3, {});
    EXPECT_GE(vm.arg(0), 0);
    // now: a date-time in a reference box, the form the DateTime group takes.
    for (int32_t zone : {0, 1}) {
        call(kSystem, 9, {zone});
        ASSERT_EQ(vm.sp(), 0);
        EXPECT_EQ(vm.heap().objectAt<Tarnel::DateTime>(vm.loadWord(vm.argU(0))).timezone(), zone);
    }
    EXPECT_EQ(failureText(kSystem, 9, {2}), kInvalid);
    call(kSystem, 13, {1, 2, 3}); // discard2
    EXPECT_EQ(stack(), V{1});
    for (int op : {14, 15}) { // nullResult14 and 15
        call(kSystem, op, {7, 5});
        EXPECT_EQ(stack(), (V{7, 0})) << op;
    }
    EXPECT_EQ(failureText(kSystem, 16, {}), "VMException: System:-1");

    // The application object is a root, the one it replaces no longer; a non-object is refused.
    const uint32_t first = block({1}), second = block({2});
    call(kSystem, 5, {first});
    EXPECT_TRUE(vm.heap().isRoot(first));
    call(kSystem, 5, {second});
    EXPECT_FALSE(vm.heap().isRoot(first));
    EXPECT_TRUE(vm.heap().isRoot(second));
    EXPECT_EQ(failureText(kSystem, 5, {second + 4}), "VMException: Invalid heap reference");
    EXPECT_EQ(vm.applicationObject, second);
    EXPECT_EQ(failure(kSystem, 2, {str(u"bye")}), kExit); // requestExit ends the invocation
}
