// SPDX-License-Identifier: MIT
// The string library: what the String natives' table (StringNativesTest) does not already show
// of searching, and comparing, editing and parsing.
#include "Containers/OString.h"
#include "Base/Errors.h"

#include "ErrorCodeOf.h"

#include <QChar>
#include <gtest/gtest.h>

#include <functional>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

namespace {

using Span = OString::Span;
constexpr auto kExact = CaseSensitive;
constexpr auto kNoCase = CaseInsensitive;

OString s(std::u16string_view text)
{
    return OString(text);
}

} // namespace

TEST(OString, SearchesWithAndWithoutCase)
{
    const OString text = s(u"abcABCabc");
    EXPECT_EQ(text.lastIndexOf(s(u"c"), Span{0, 4}, kNoCase), 2);
    EXPECT_EQ(text.lastIndexOf(s(u"c"), Span{0, 5}, kNoCase), 5);
    EXPECT_EQ(text.indexOf(OString(), kNoCase), -1);
    EXPECT_EQ(text.lastIndexOf(OString(), text.all(), kNoCase), -1);
    EXPECT_EQ(text.countOf(OString(), text.all(), kNoCase), 0);
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
}

// The tables are written from QChar at build time; every unit must answer as QChar does.
TEST(OString, CharacterTablesAnswerAsQtForEveryUnit)
{
    int differences = 0;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const QChar c(static_cast<char16_t>(unit));
        const char16_t u = static_cast<char16_t>(unit);
        if (toLowerUnit(u) != c.toLower().unicode() || toUpperUnit(u) != c.toUpper().unicode() ||
            isSpaceUnit(u) != c.isSpace() || isLetterUnit(u) != c.isLetter() ||
            isDigitUnit(u) != c.isDigit()) {
            ADD_FAILURE() << "unit " << unsigned(unit);
            if (++differences == 5) break;
        }
    }
}
