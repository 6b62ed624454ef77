// SPDX-License-Identifier: MIT
// The runtime's own containers: Vec growth and error codes, CAppsString constructions and
// concatenation, LinkedList with and without a node pool.
#include "Base/Errors.h"
#include "Containers/CAppsString.h"
#include "Containers/LinkedList.h"
#include "Containers/Vec.h"

#include "ErrorCodeOf.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

namespace {

class CountingAllocator : public VecAllocator {
public:
    void* allocate(size_t bytes) override
    {
        if (refuse) return nullptr;
        ++blocks;
        return ::operator new(bytes);
    }
    void free(void* block) override
    {
        --blocks;
        ::operator delete(block);
    }
    int blocks = 0;
    bool refuse = false;
};

} // namespace

TEST(Vec, EditsCopiesAndResizes)
{
    Vec<std::string> v(3, "a");
    v.insert(0, "first");
    v.insert(4, "last");
    v.insert(2, "mid");
    ASSERT_EQ(v.size(), 6);
    const std::string expected[] = {"first", "a", "mid", "a", "a", "last"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v[i], expected[i]);
    v.removeAt(0);
    EXPECT_EQ(v.takeLast(), "last");
    EXPECT_EQ(v.size(), 4);

    Vec<std::string> copy(v);
    copy[0] = "changed";
    EXPECT_EQ(v[0], "a");
    EXPECT_FALSE(copy == v);
    copy = v;
    EXPECT_TRUE(copy == v);
    Vec<std::string> moved(std::move(copy));
    EXPECT_EQ(moved.size(), 4);
    EXPECT_EQ(copy.size(), 0);

    v.resize(1);
    EXPECT_EQ(v.size(), 1);
    v.resize(3, "z");
    EXPECT_EQ(v[2], "z");
    v.reserve(100);
    EXPECT_EQ(v.capacity(), 100);
    EXPECT_EQ(v.size(), 3);
    v.clear();
    EXPECT_TRUE(v.isEmpty());
}

TEST(Vec, MisuseIsInvalidArgument)
{
    Vec<int> v(2, 7);
    EXPECT_EQ(errorCodeOf([&] { v[2]; }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { v[-1]; }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { v.insert(3, 0); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { v.reserve(1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { v.resize(-1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { Vec<int> bad(-5); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { Vec<int>().removeLast(); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { Vec<int>().last(); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { v.reserve(2); }), 0);
    EXPECT_EQ(v.size(), 2); // failed calls changed nothing
    EXPECT_EQ(v[1], 7);
}

TEST(Vec, UsesItsAllocatorAndReportsItsFailure)
{
    CountingAllocator allocator;
    {
        Vec<int> v(&allocator);
        for (int i = 0; i < 9; ++i)
            v.append(i);
        EXPECT_EQ(allocator.blocks, 1); // the first block was given back when it grew
        allocator.refuse = true;
        EXPECT_EQ(errorCodeOf([&] { v.reserve(1000); }), kInvalidArgument);
        EXPECT_EQ(v.size(), 9);
        EXPECT_EQ(v[8], 8);
    }
    EXPECT_EQ(allocator.blocks, 0);
}

TEST(CAppsString, ConstructsFromTextBytesAndNumbers)
{
    const CAppsString latin("caf\xe9");
    EXPECT_EQ(latin.toU16String(), u"caf\u00e9");
    EXPECT_EQ(latin.capacity(), 4 + 10);
    EXPECT_EQ(latin.toUtf8(), "caf\xc3\xa9");
    EXPECT_EQ(CAppsString("").size(), 0);
    EXPECT_EQ(CAppsString(u"\u4e2d\u6587").toU16String(), u"\u4e2d\u6587");
    const unsigned short wide[] = {'h', 0x263a, 0};
    EXPECT_EQ(CAppsString(wide).toU16String(), u"h\u263a");

    const unsigned char bytes[] = {'a', 0, 0xff, 'b'};
    EXPECT_EQ(CAppsString(bytes, 4).toU16String(), std::u16string(u"a\0\u00ffb", 4));
    EXPECT_EQ(CAppsString(bytes, 0).size(), 0);

    EXPECT_EQ(CAppsString(int32_t{0}).toU16String(), u"0");
    EXPECT_EQ(CAppsString(int32_t{-42}).toU16String(), u"-42");
    EXPECT_EQ(CAppsString(int32_t{INT_MIN}).toU16String(), u"-2147483648");
    EXPECT_EQ(CAppsString(int64_t{INT64_MIN}).toU16String(), u"-9223372036854775808");
    EXPECT_EQ(CAppsString(int64_t{1234567890123}).toU16String(), u"1234567890123");
    EXPECT_EQ(CAppsString(uint32_t{255}, 16).toU16String(), u"ff");
    EXPECT_EQ(CAppsString(uint32_t{35}, 36).toU16String(), u"z");
    EXPECT_EQ(CAppsString(uint32_t{0}, 2).toU16String(), u"0");
    EXPECT_EQ(CAppsString(uint32_t{0xffffffff}, 2).toU16String(), std::u16string(32, u'1'));
    // A negative int passed as unsigned is its two's complement bit pattern.
    EXPECT_EQ(CAppsString(static_cast<uint32_t>(-1), 16).toU16String(), u"ffffffff");
}

TEST(CAppsString, RefusesNullTextBadCountsAndBadRadixes)
{
    EXPECT_EQ(errorCodeOf([] { CAppsString s(static_cast<const char*>(nullptr)); }), kNullPointer);
    EXPECT_EQ(errorCodeOf([] { CAppsString s(static_cast<const char16_t*>(nullptr)); }),
              kNullPointer);
    EXPECT_EQ(errorCodeOf([] { CAppsString s(static_cast<const unsigned char*>(nullptr), 3); }),
              kNullPointer);
    const unsigned char bytes[] = {1};
    EXPECT_EQ(errorCodeOf([&] { CAppsString s(bytes, -1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { CAppsString s(uint32_t{5}, 1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { CAppsString s(uint32_t{5}, 37); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { CAppsString("x")[1]; }), kInvalidArgument);
}

TEST(CAppsString, ConcatenatesAndAppends)
{
    CAppsString text("total ");
    text += CAppsString(int32_t{80});
    text.append("\n").append(u"\u00e9");
    EXPECT_EQ(text, u"total 80\n\u00e9");
    const CAppsString joined = CAppsString("a") + CAppsString("bc");
    EXPECT_EQ(joined, CAppsString(u"abc"));
    text = CAppsString("xy");
    text.append(text);
    EXPECT_EQ(text, u"xyxy");
    text.append(static_cast<unsigned short>('!'));
    EXPECT_EQ(text.view(), u"xyxy!");
    // Many small appends stay amortised: capacity grows geometrically, not by the piece.
    CAppsString grown;
    int reallocations = 0;
    for (int i = 0, capacity = 0; i < 1000; ++i) {
        grown.append("ab");
        reallocations += grown.capacity() != capacity;
        capacity = grown.capacity();
    }
    EXPECT_EQ(grown.size(), 2000);
    EXPECT_LT(reallocations, 40);
}

TEST(LinkedList, AppendsPrependsErasesAndFinds)
{
    LinkedList<int> list;
    EXPECT_TRUE(list.isEmpty());
    list.append(2);
    list.append(3);
    list.prepend(1);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.first(), 1);
    EXPECT_EQ(list.last(), 3);
    std::vector<int> seen;
    for (int value : list)
        seen.push_back(value);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    seen.clear();
    for (auto it = list.lastPosition(); it; --it)
        seen.push_back(*it);
    EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));

    const auto after = list.erase(list.find(2));
    EXPECT_EQ(*after, 3);
    EXPECT_FALSE(list.contains(2));
    EXPECT_FALSE(list.find(42));
    EXPECT_EQ(list.takeFirst(), 1);
    list.erase(list.begin());
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.end(), list.begin());

    // Duplicates are kept; find returns the first.
    list.append(5);
    list.append(5);
    list.erase(list.find(5));
    EXPECT_EQ(list.count(), 1);

    EXPECT_EQ(errorCodeOf([&] { list.erase(LinkedListIterator<int>()); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { LinkedList<int>().first(); }), kInvalidArgument);
    LinkedList<int> other;
    other.append(9);
    EXPECT_EQ(errorCodeOf([&] { list.erase(other.begin()); }), kInvalidArgument);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(other.count(), 1);
}

TEST(LinkedList, PoolNodesAreNamedByIndexAndReused)
{
    ListNodePool<int> pool;
    LinkedList<int> a(&pool);
    LinkedList<int> b(&pool);
    std::vector<uint32_t> indexes;
    for (int i = 0; i < 300; ++i)
        indexes.push_back((i % 2 ? a : b).append(i).node()->index);
    EXPECT_EQ(pool.blockCount(), 2); // 256 nodes per block
    EXPECT_EQ(indexes[0], 1u);       // 0 never names a node
    EXPECT_EQ(a.count() + b.count(), 300);
    for (size_t i = 0; i < indexes.size(); ++i) {
        ASSERT_NE(pool.node(indexes[i]), nullptr);
        EXPECT_EQ(pool.node(indexes[i])->value, int(i));
    }
    EXPECT_EQ(pool.node(0), nullptr);
    EXPECT_EQ(pool.node(513), nullptr); // beyond every block
    EXPECT_EQ(pool.node(301), nullptr); // in a block but never handed out

    // An erased node's index goes dead and is handed out again.
    const uint32_t first = a.begin().node()->index;
    a.erase(a.begin());
    EXPECT_EQ(pool.node(first), nullptr);
    EXPECT_EQ(b.append(1000).node()->index, first);
    EXPECT_EQ(pool.blockCount(), 2);

    // Only live nodes of this pool come back.
    ListNodePool<int> stranger;
    EXPECT_EQ(errorCodeOf([&] { stranger.give(pool.node(first)); }), kInvalidArgument);
    ListEntry<int> loose;
    EXPECT_EQ(errorCodeOf([&] { pool.give(&loose); }), kInvalidArgument);
    // A node given back twice would sit in the free chain twice and be handed out to two lists.
    ListEntry<int>* out = b.begin().node();
    const uint32_t outIndex = out->index;
    b.erase(b.begin());
    EXPECT_EQ(errorCodeOf([&] { pool.give(out); }), kInvalidArgument);
    ListEntry<int>* again = b.append(7).node();
    EXPECT_EQ(again, out);                // the one given back is reused first...
    EXPECT_NE(a.append(8).node(), again); // ...and only once
    EXPECT_EQ(pool.node(outIndex), again);

    a.clear();
    b.clear();
    for (uint32_t index : indexes)
        EXPECT_EQ(pool.node(index), nullptr);

    // Reserving makes the blocks up front; the takes that follow add none.
    ListNodePool<int> reserved;
    reserved.reserve(257);
    EXPECT_EQ(reserved.blockCount(), 2);
    LinkedList<int> c(&reserved);
    for (int i = 0; i < 257; ++i)
        c.append(i);
    EXPECT_EQ(reserved.blockCount(), 2);
    reserved.reserve(511);
    EXPECT_EQ(reserved.blockCount(), 3);
}
