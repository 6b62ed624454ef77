// SPDX-License-Identifier: MIT
#include "Containers/OString.h"
#include "Base/Errors.h"

#include "ErrorCodeOf.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

namespace {

using Span = OString::Span;
constexpr auto kExact = Qt::CaseSensitive;
constexpr auto kNoCase = Qt::CaseInsensitive;

OString s(std::u16string_view text)
{
    return OString(text);
}

std::vector<std::u16string> texts(const std::vector<OString>& pieces)
{
    std::vector<std::u16string> out;
    for (const OString& piece : pieces)
        out.push_back(piece.toU16());
    return out;
}

} // namespace

TEST(OString, CopyOnWriteLeavesTheSourceUntouched)
{
    OString source = s(u"hello");
    OString copy = source;
    EXPECT_TRUE(copy.sharesBlockWith(source));
    copy.append(u'!');
    copy.toUpperCase();
    EXPECT_EQ(source.view(), u"hello");
    EXPECT_EQ(copy.view(), u"HELLO!");
    EXPECT_FALSE(copy.sharesBlockWith(source));

    OString other = source;
    source.removeCharAt(0); // the original changes, its copy keeps the old text
    EXPECT_EQ(other.view(), u"hello");
    EXPECT_EQ(source.view(), u"ello");

    OString self = s(u"ab");
    self = self;
    self.append(self); // the argument is the block being edited
    EXPECT_EQ(self.view(), u"abab");
    self.insertTo(1, self, Span{1, 2});
    EXPECT_EQ(self.view(), u"ababab");
}

TEST(OString, SpansAreValidated)
{
    const OString empty;
    EXPECT_EQ(errorCodeOf([&] { empty.checkSpan(Span{0, -1}); }), 0);
    EXPECT_EQ(empty.indexOf(s(u"a"), Span{0, -1}, kExact), -1);
    EXPECT_EQ(errorCodeOf([&] { empty.indexOf(s(u"a"), Span{0, 0}, kExact); }), kRange);

    const OString abc = s(u"abc");
    for (const Span bad : {Span{-1, 1}, Span{2, 1}, Span{0, 3}, Span{3, 3}})
        EXPECT_EQ(errorCodeOf([&] { abc.countOf(s(u"a"), bad, kExact); }), kRange)
            << bad.from << ".." << bad.to;
    EXPECT_EQ(abc.all().to, 2);
    EXPECT_EQ(abc.from(2).count(), 1);
    EXPECT_EQ(abc.substring(Span{1, 2}).view(), u"bc");
    EXPECT_TRUE(abc.substring(Span{0, -1}).isEmpty());
    EXPECT_TRUE(abc.substring(abc.all()).sharesBlockWith(abc));
}

TEST(OString, SearchesWithAndWithoutCase)
{
    const OString text = s(u"abcABCabc");
    EXPECT_EQ(s(u"abc").indexOf(s(u"B"), kNoCase), 1);
    EXPECT_EQ(s(u"abc").indexOf(s(u"B"), kExact), -1);
    EXPECT_EQ(text.indexOf(s(u"ABC"), kExact), 3);
    EXPECT_EQ(text.indexOf(s(u"abc"), Span{1, 8}, kNoCase), 3);
    EXPECT_EQ(text.indexOf(s(u"abc"), Span{1, 7}, kExact), -1); // must fit in the span
    EXPECT_EQ(text.lastIndexOf(s(u"ABC"), text.all(), kNoCase), 6);
    EXPECT_EQ(text.lastIndexOf(s(u"c"), Span{0, 4}, kNoCase), 2);
    EXPECT_EQ(text.lastIndexOf(s(u"c"), Span{0, 5}, kNoCase), 5);
    EXPECT_EQ(text.indexOf(OString(), kNoCase), -1);
    EXPECT_EQ(text.lastIndexOf(OString(), text.all(), kNoCase), -1);
    EXPECT_EQ(text.countOf(OString(), text.all(), kNoCase), 0);
    EXPECT_EQ(text.countOf(s(u"abc"), text.all(), kNoCase), 3);
    EXPECT_EQ(text.countOf(s(u"abc"), text.all(), kExact), 2);
    EXPECT_EQ(s(u"aaaaa").countOf(s(u"aa"), Span{0, 4}, kExact), 2); // non-overlapping
    EXPECT_EQ(s(u"\u00c9t\u00e9").indexOf(s(u"\u00e9"), kNoCase), 0);

    EXPECT_TRUE(text.startsWith(s(u"ABc"), kNoCase));
    EXPECT_FALSE(text.startsWith(s(u"ABc"), kExact));
    EXPECT_TRUE(text.endsWith(s(u"bc"), kExact));
    EXPECT_FALSE(text.startsWith(OString(), kNoCase));
    EXPECT_FALSE(s(u"ab").endsWith(s(u"xab"), kNoCase));

    EXPECT_EQ(s(u"abBA").mostFrequentChar(Span{0, 3}, kNoCase), u'a');
    EXPECT_EQ(s(u"abBA").mostFrequentChar(Span{0, 3}, kExact), u'a');
    EXPECT_EQ(s(u"aBbb").mostFrequentChar(Span{0, 3}, kExact), u'b');
    EXPECT_EQ(s(u"xAaB").mostFrequentChar(Span{1, 3}, kNoCase), u'a');
    EXPECT_EQ(errorCodeOf([] { OString().mostFrequentChar(Span{0, -1}, kNoCase); }), kDataFormat);
}

TEST(OString, ComparisonsAndOrdering)
{
    EXPECT_EQ(s(u"abc").compare(s(u"abd"), kExact), -1);
    EXPECT_EQ(s(u"b").compare(s(u"B"), kExact), u'b' - u'B');
    EXPECT_EQ(s(u"b").compare(s(u"B"), kNoCase), 0);
    EXPECT_EQ(s(u"abcd").compare(s(u"ab"), kExact), 2);
    const OString shared = s(u"same");
    EXPECT_EQ(shared.compare(OString(shared), kExact), 0);
    EXPECT_EQ(s(u"xabcx").compare(Span{1, 3}, s(u"ABC"), kNoCase), 0);
    EXPECT_EQ(s(u"xabcx").compare(Span{1, 3}, s(u"ABCD"), kNoCase), -1);

    EXPECT_TRUE(s(u"Hello").equals(s(u"hELLO"), kNoCase));
    EXPECT_FALSE(s(u"Hello").equals(s(u"hELLO"), kExact));
    EXPECT_TRUE(s(u"xabcx").equals(Span{1, 3}, s(u"abc"), kExact));
    EXPECT_FALSE(s(u"xabcx").equals(Span{1, 2}, s(u"abc"), kExact));
    EXPECT_EQ(errorCodeOf([] {
                  s(u"abc").equals(Span{0, 1}, OString(), kExact);
              }),
              kInvalidArgument);

    EXPECT_TRUE(s(u"a") == s(u"a"));
    EXPECT_TRUE(s(u"a") != s(u"A"));
    EXPECT_TRUE(s(u"B") < s(u"a"));
    EXPECT_TRUE(s(u"ab") <= s(u"ab"));
    EXPECT_TRUE(s(u"abc") > s(u"ab"));
    EXPECT_FALSE(OString() >= s(u"a"));
}

TEST(OString, EditingInPlace)
{
    OString text = s(u"world");
    text.prepend(s(u"hello "));
    text.append(u'!');
    EXPECT_EQ(text.view(), u"hello world!");
    text.insertTo(text.length(), s(u"?"));
    text.insertTo(5, s(u"XYZ"), Span{1, 1});
    EXPECT_EQ(text.view(), u"helloY world!?");
    EXPECT_EQ(errorCodeOf([&] { text.insertTo(15, s(u"a")); }), kIndexOutOfBounds);
    EXPECT_EQ(errorCodeOf([&] { text.insertTo(-1, s(u"abc"), Span{0, -1}); }), 0); // empty part
    EXPECT_EQ(errorCodeOf([&] { text.insertTo(0, s(u"abc"), Span{1, 3}); }), kRange);
    EXPECT_EQ(errorCodeOf([&] { text.removeCharAt(14); }), kIndexOutOfBounds);
    EXPECT_EQ(errorCodeOf([&] { text.removeFirstChars(15); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { text.removeLastChars(-1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { text.replaceRange(Span{3, 20}, s(u"x")); }), kRange);
    EXPECT_EQ(text.view(), u"helloY world!?"); // failures changed nothing

    text.replaceRange(Span{5, 5}, OString());
    text.replaceRange(Span{0, 4}, s(u"HOWDY"));
    text.removeLastChars(2);
    text.removeFirstChars(1);
    EXPECT_EQ(text.view(), u"OWDY world");
    text.replaceRange(Span{0, -1}, s(u"ignored"));
    EXPECT_EQ(text.view(), u"OWDY world");

    OString r = s(u"abABab");
    r.removeFirst(s(u"AB"), r.all(), kNoCase);
    EXPECT_EQ(r.view(), u"ABab");
    r.removeLast(s(u"AB"), r.all(), kExact);
    EXPECT_EQ(r.view(), u"ab");
    r = s(u"a-b-c-d");
    r.replaceFirst(s(u"-"), s(u"+"), Span{2, 6}, kExact);
    r.replaceLast(s(u"-"), s(u"=="), r.all(), kExact);
    EXPECT_EQ(r.view(), u"a-b+c==d");
    r = s(u"xXaxx");
    r.replaceAll(s(u"x"), s(u"yy"), Span{1, 4}, kNoCase);
    EXPECT_EQ(r.view(), u"xyyayyyy");
    r.removeAll(s(u"YY"), r.all(), kNoCase);
    EXPECT_EQ(r.view(), u"xa");
    r.replaceAll(r, s(u"<$0>"), r.all(), kExact); // the needle is the string itself
    EXPECT_EQ(r.view(), u"<$0>");
    r.removeAll(OString(), r.all(), kExact);
    EXPECT_EQ(r.view(), u"<$0>");

    OString rep = s(u"ab");
    rep.repeat(3);
    EXPECT_EQ(rep.view(), u"ababab");
    EXPECT_EQ(rep.repeated(0).length(), 0);
    EXPECT_EQ(errorCodeOf([&] { rep.repeat(-1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([&] { rep.repeat(1 << 30); }), kInvalidArgument);
    rep.repeat(0);
    EXPECT_TRUE(rep.isEmpty());

    OString t = s(u" \t\u00a0 x y \n\u2003");
    OString start = t, end = t;
    start.trimStart();
    end.trimEnd();
    t.trim();
    EXPECT_EQ(t.view(), u"x y");
    EXPECT_EQ(start.view(), u"x y \n\u2003");
    EXPECT_EQ(end.view(), u" \t\u00a0 x y");
    OString blank = s(u" \r\n ");
    blank.trim();
    EXPECT_TRUE(blank.isEmpty());

    OString c = s(u"\u00c9t\u00e9 Stra\u00dfe \xd83d\xde00");
    c.toUpperCase();
    EXPECT_EQ(c.view(), u"\u00c9T\u00c9 STRA\u00dfE \xd83d\xde00"); // per unit: no ß expansion
    c.toLowerCase();
    EXPECT_EQ(c.view(), u"\u00e9t\u00e9 stra\u00dfe \xd83d\xde00");
}

TEST(OString, NewStringsConcatStepSplit)
{
    EXPECT_EQ(OString::concat(s(u"ab"), s(u"cd")).view(), u"abcd");
    const OString a = s(u"ab");
    EXPECT_TRUE(OString::concat(a, OString()).sharesBlockWith(a));
    EXPECT_EQ(s(u"abcdefg").stepped(Span{0, 6}, 3).view(), u"adg");
    EXPECT_EQ(s(u"abcdefg").stepped(Span{1, 5}, 2).view(), u"bdf");
    EXPECT_EQ(errorCodeOf([] { s(u"abc").stepped(Span{0, 2}, 0); }), kInvalidArgument);

    using Pieces = std::vector<std::u16string>;
    EXPECT_EQ(texts(s(u"a,,b").split(s(u","), kExact)), (Pieces{u"a", u"b"}));
    EXPECT_EQ(texts(s(u",a,b,").split(s(u","), kExact)), (Pieces{u"a", u"b"}));
    EXPECT_TRUE(s(u"abc").split(s(u","), kExact).empty());
    EXPECT_TRUE(OString().split(s(u","), kExact).empty());
    EXPECT_TRUE(s(u",,").split(s(u","), kExact).empty());
    EXPECT_EQ(texts(s(u"oneANDtwoandthree").split(s(u"and"), kNoCase)),
              (Pieces{u"one", u"two", u"three"}));
    EXPECT_EQ(texts(s(u"oneANDtwoandthree").split(s(u"and"), kExact)),
              (Pieces{u"oneANDtwo", u"three"}));
    EXPECT_EQ(errorCodeOf([] { s(u"abc").split(OString(), kExact); }), kInvalidArgument);
}

TEST(OString, ParsingIntegers)
{
    EXPECT_EQ(s(u"  -42").toInt(), -42);
    EXPECT_EQ(s(u"\t+17xyz").toInt(), 17);
    EXPECT_EQ(s(u"4294967297").toInt(), 1); // modulo 2^32
    EXPECT_EQ(s(u"-2147483648").toInt(), INT32_MIN);
    EXPECT_EQ(s(u"+-0").toInt(), 0);
    for (const char16_t* bad : {u"x", u"", u"   ", u"-", u"+-5", u"--1", u"- 1"})
        EXPECT_EQ(errorCodeOf([&] { s(bad).toInt(); }), kDataFormat);

    EXPECT_EQ(s(u" ff").toIntRadix(16), 255);
    EXPECT_EQ(s(u"FFFFFFFF").toIntRadix(16), -1);
    EXPECT_EQ(s(u"zZ").toIntRadix(36), 35 * 36 + 35);
    EXPECT_EQ(s(u"1012").toIntRadix(2), 5); // stops at the first non-digit
    EXPECT_EQ(errorCodeOf([] { s(u"g").toIntRadix(16); }), kDataFormat);
    EXPECT_EQ(errorCodeOf([] { s(u"-1").toIntRadix(16); }), kDataFormat);
    EXPECT_EQ(errorCodeOf([] { s(u"1").toIntRadix(1); }), kInvalidArgument);
    EXPECT_EQ(errorCodeOf([] { s(u"1").toIntRadix(37); }), kInvalidArgument);

    bool any = false;
    EXPECT_EQ(s(u" 7fffffffffffffff").toLongRadix(16, any), INT64_MAX);
    EXPECT_TRUE(any);
    EXPECT_EQ(s(u"?").toLongRadix(10, any), 0);
    EXPECT_FALSE(any);
    EXPECT_EQ(errorCodeOf([&] { s(u"1").toLongRadix(0, any); }), kInvalidArgument);
}

TEST(OString, Utf8BothWays)
{
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(s(u"A\u00e9").toUtf8(), (Bytes{0x41, 0xC3, 0xA9}));
    EXPECT_EQ(s(u"\u20ac").toUtf8(), (Bytes{0xE2, 0x82, 0xAC}));
    EXPECT_EQ(s(u"\xd83d\xde00").toUtf8(), (Bytes{0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));
    EXPECT_TRUE(OString().toUtf8().empty());

    auto decode = [](Bytes bytes) { return OString::fromUtf8(bytes.data(), bytes.size()); };
    EXPECT_EQ(decode({0x3C, 0xF0, 0x9F, 0x98, 0x80, 0x3E})->view(), u"<\xd83d\xde00>");
    EXPECT_EQ(decode({0xF4, 0x8F, 0xBF, 0xBF})->view(), u"\xdbff\xdfff");
    EXPECT_EQ(decode({0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0x7F})->view(), u"\u00e9\u20ac\x7f");
    EXPECT_EQ(decode({0xEF, 0xBF, 0xBF})->view(), u"\xffff");
    EXPECT_TRUE(decode({})->isEmpty());
    const std::vector<Bytes> illFormed = {{0x80},
                                          {0xC0, 0x80},
                                          {0xC1, 0xBF},
                                          {0xE0, 0x80, 0x80},
                                          {0xED, 0xA0, 0x80},
                                          {0xF0, 0x8F, 0xBF, 0xBF},
                                          {0xF4, 0x90, 0x80, 0x80},
                                          {0xF5, 0x80, 0x80, 0x80},
                                          {0xFF},
                                          {0xE2, 0x82},
                                          {0x41, 0xF0, 0x9F, 0x98},
                                          {0xC3, 0x41},
                                          s(u"\xd83d\xde00").toUtf8()};
    for (const Bytes& bytes : illFormed)
        EXPECT_FALSE(decode(bytes).has_value()) << "first byte " << int{bytes[0]};

    EXPECT_EQ(OString::fromUtf8Lenient("a\xF0\x9F\x98\x80\xFF"
                                       "b")
                  .view(),
              u"a\xd83d\xde00\xfffd"
              u"b");
}
