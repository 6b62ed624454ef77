// SPDX-License-Identifier: MIT
// Group 8, String: thin adapters from stack operands to OString operations. Operands are
// listed deepest first (X the string worked on, A an argument, B a replacement, D a
// destination box, c a character, R a range (start, count), F a case flag). Queries leave
// their result over X, edits of X and initialisers of D pop everything, new strings and
// arrays replace X. Operations without F ignore case; the ordering operators never do.
// Every check runs before X changes, so a failing operation leaves X as it was.
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/StringOperands.h"

namespace zelmo {

namespace {

constexpr CaseSensitivity kNoCase = CaseInsensitive;

// ---- the search-style families: one OString operation, eight operand layouts ----
// Column bits: 1 = a range follows the needle, 2 = a case flag comes last, 4 = the needle is a
// character. Column 0 of indexOf (16) is `find`, handled on its own.
enum class Search { IndexOf, LastIndexOf, CountOf, RemoveFirst, RemoveLast, RemoveAll };

struct SearchFamily {
    int firstOperation;
    Search what;
};

constexpr SearchFamily kSearchFamilies[] = {
    {16, Search::IndexOf},     {24, Search::LastIndexOf}, {36, Search::CountOf},
    {95, Search::RemoveFirst}, {103, Search::RemoveLast}, {111, Search::RemoveAll},
};

void searchNative(VirtualMachine& vm, Search what, int column)
{
    const bool hasRange = column & 1, hasFlag = column & 2, isCharacter = column & 4;
    StringOperands op(vm, 2 + (hasRange ? 2 : 0) + (hasFlag ? 1 : 0));
    OString& x = op.string(0);
    const OString needle = op.text(1, isCharacter);
    const OString::Span span = hasRange ? op.span(2, x) : x.all();
    const CaseSensitivity cs = hasFlag ? op.caseFlag(hasRange ? 4 : 2) : kNoCase;
    switch (what) {
    case Search::IndexOf:
        return op.returnInt(x.indexOf(needle, span, cs));
    case Search::LastIndexOf:
        return op.returnInt(x.lastIndexOf(needle, span, cs));
    case Search::CountOf:
        return op.returnInt(x.countOf(needle, span, cs));
    case Search::RemoveFirst:
        x.removeFirst(needle, span, cs);
        return op.finish();
    case Search::RemoveLast:
        x.removeLast(needle, span, cs);
        return op.finish();
    case Search::RemoveAll:
        x.removeAll(needle, span, cs);
        return op.finish();
    }
}

// ---- the replacement families ----
// Column bits: 1 = a case flag comes last, 2 = the replacement is a character, 4 = a range
// follows the needle.
enum class Replace { First, Last, All };

struct ReplaceFamily {
    int firstOperation;
    Replace what;
};

constexpr ReplaceFamily kReplaceFamilies[] = {
    {69, Replace::First}, {77, Replace::Last}, {85, Replace::All}};

void replaceNative(VirtualMachine& vm, Replace what, int column)
{
    const bool hasFlag = column & 1, isCharacter = column & 2, hasRange = column & 4;
    StringOperands op(vm, 3 + (hasRange ? 2 : 0) + (hasFlag ? 1 : 0));
    OString& x = op.string(0);
    const OString needle = op.string(1);
    const OString::Span span = hasRange ? op.span(2, x) : x.all();
    const int replacementAt = hasRange ? 4 : 2;
    const OString replacement = op.text(replacementAt, isCharacter);
    const CaseSensitivity cs = hasFlag ? op.caseFlag(replacementAt + 1) : kNoCase;
    switch (what) {
    case Replace::First:
        x.replaceFirst(needle, replacement, span, cs);
        break;
    case Replace::Last:
        x.replaceLast(needle, replacement, span, cs);
        break;
    case Replace::All:
        x.replaceAll(needle, replacement, span, cs);
        break;
    }
    op.finish();
}

// Runs `operation` if it belongs to one of the families; false otherwise.
bool familyNative(VirtualMachine& vm, int operation)
{
    for (const SearchFamily& family : kSearchFamilies) {
        const int column = operation - family.firstOperation;
        if (column >= 0 && column < 8 && operation != 16) {
            searchNative(vm, family.what, column);
            return true;
        }
    }
    for (const ReplaceFamily& family : kReplaceFamilies) {
        const int column = operation - family.firstOperation;
        if (column >= 0 && column < 8) {
            replaceNative(vm, family.what, column);
            return true;
        }
    }
    return false;
}

// compareRange / equalsRange: a negative count from start 0 means the whole strings.
bool wholeStrings(StringOperands& op, int rangeAt)
{
    return op.rangeCount(rangeAt) < 0 && op.rangeStart(rangeAt) == 0;
}

} // namespace

void VirtualMachine::stringNative(int operation)
{
    switch (operation) {
    case 1: { // initEmpty(D)
        StringOperands op(*this, 1);
        return op.initialise(op.destination(0), OString());
    }
    case 2:
    case 4: { // initCopy(D, A): shares A's text
        StringOperands op(*this, 2);
        const uint32_t box = op.destination(0);
        return op.initialise(box, op.string(1));
    }
    case 5: { // initRepeatedChar(D, c, n)
        StringOperands op(*this, 3);
        const uint32_t box = op.destination(0);
        return op.initialise(box, OString::filled(op.unit(1), op.integer(2)));
    }
    case 7: { // initSubstring(D, A, R)
        StringOperands op(*this, 4);
        const uint32_t box = op.destination(0);
        const OString& a = op.string(1);
        return op.initialise(box, a.substring(op.span(2, a)));
    }
    case 8: { // initStepped(D, A, step)
        StringOperands op(*this, 3);
        const uint32_t box = op.destination(0);
        const OString& a = op.string(1);
        return op.initialise(box, a.stepped(a.all(), op.integer(2)));
    }
    case 9: { // initSteppedRange(D, A, R, step)
        StringOperands op(*this, 5);
        const uint32_t box = op.destination(0);
        const OString& a = op.string(1);
        return op.initialise(box, a.stepped(op.span(2, a), op.integer(4)));
    }
    case 10: { // length(X)
        StringOperands op(*this, 1);
        return op.returnInt(op.string(0).length());
    }
    case 11: { // isEmpty(X)
        StringOperands op(*this, 1);
        return op.returnBool(op.string(0).isEmpty());
    }
    case 12: { // charAt(X, i)
        StringOperands op(*this, 2);
        return op.returnInt(op.string(0).charAt(op.integer(1)));
    }
    case 14: { // firstChar(X)
        StringOperands op(*this, 1);
        return op.returnInt(op.string(0).firstChar());
    }
    case 15: { // lastChar(X)
        StringOperands op(*this, 1);
        return op.returnInt(op.string(0).lastChar());
    }
    case 16: { // find(X, A): the range (index, length of A) over both words, (0, 0) if absent
        StringOperands op(*this, 2);
        const OString& a = op.string(1);
        const int at = op.string(0).indexOf(a, kNoCase);
        op.word(0) = at < 0 ? 0 : at;
        op.word(1) = at < 0 ? 0 : a.length();
        return;
    }
    case 32: { // mostFrequentChar(X)
        StringOperands op(*this, 1);
        const OString& x = op.string(0);
        return op.returnInt(x.mostFrequentChar(x.all(), kNoCase));
    }
    case 33: { // mostFrequentChar(X, R)
        StringOperands op(*this, 3);
        const OString& x = op.string(0);
        return op.returnInt(x.mostFrequentChar(op.span(1, x), kNoCase));
    }
    case 34: { // mostFrequentChar(X, F)
        StringOperands op(*this, 2);
        const OString& x = op.string(0);
        return op.returnInt(x.mostFrequentChar(x.all(), op.caseFlag(1)));
    }
    case 35: { // mostFrequentChar(X, R, F)
        StringOperands op(*this, 4);
        const OString& x = op.string(0);
        return op.returnInt(x.mostFrequentChar(op.span(1, x), op.caseFlag(3)));
    }
    case 44: { // startsWith(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0).startsWith(op.string(1), kNoCase));
    }
    case 45: { // startsWith(X, A, F)
        StringOperands op(*this, 3);
        return op.returnBool(op.string(0).startsWith(op.string(1), op.caseFlag(2)));
    }
    case 46: { // endsWith(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0).endsWith(op.string(1), kNoCase));
    }
    case 47: { // endsWith(X, A, F)
        StringOperands op(*this, 3);
        return op.returnBool(op.string(0).endsWith(op.string(1), op.caseFlag(2)));
    }
    case 48: { // concat(X, A)
        StringOperands op(*this, 2);
        return op.returnString(OString::concat(op.string(0), op.string(1)));
    }
    case 49: { // repeated(X, n)
        StringOperands op(*this, 2);
        return op.returnString(op.string(0).repeated(op.integer(1)));
    }
    case 50: { // split(X, A)
        StringOperands op(*this, 2);
        return op.returnStrings(op.string(0).split(op.string(1), kNoCase));
    }
    case 51: { // split(X, A, F)
        StringOperands op(*this, 3);
        return op.returnStrings(op.string(0).split(op.string(1), op.caseFlag(2)));
    }
    case 52: { // split(X, c)
        StringOperands op(*this, 2);
        return op.returnStrings(op.string(0).split(op.character(1), kNoCase));
    }
    case 53: { // split(X, c, F)
        StringOperands op(*this, 3);
        return op.returnStrings(op.string(0).split(op.character(1), op.caseFlag(2)));
    }
    case 57: { // insert(X, at, A)
        StringOperands op(*this, 3);
        op.string(0).insertTo(op.integer(1), op.string(2));
        return op.finish();
    }
    case 58: { // insert(X, at, c)
        StringOperands op(*this, 3);
        op.string(0).insertTo(op.integer(1), op.character(2));
        return op.finish();
    }
    case 59: { // insert(X, at, R, A): the part R of A
        StringOperands op(*this, 5);
        OString& x = op.string(0);
        const OString& a = op.string(4);
        x.insertTo(op.integer(1), a, op.span(2, a));
        return op.finish();
    }
    case 60: { // prepend(X, A)
        StringOperands op(*this, 2);
        op.string(0).prepend(op.string(1));
        return op.finish();
    }
    case 61: { // prepend(X, c)
        StringOperands op(*this, 2);
        op.string(0).prepend(op.character(1));
        return op.finish();
    }
    case 62:
    case 64: { // append(X, A)
        StringOperands op(*this, 2);
        op.string(0).append(op.string(1));
        return op.finish();
    }
    case 63:
    case 65: { // append(X, c)
        StringOperands op(*this, 2);
        op.string(0).append(op.unit(1));
        return op.finish();
    }
    case 66: { // repeat(X, n)
        StringOperands op(*this, 2);
        op.string(0).repeat(op.integer(1));
        return op.finish();
    }
    case 67: { // replaceRange(X, R, A)
        StringOperands op(*this, 4);
        OString& x = op.string(0);
        x.replaceRange(op.span(1, x), op.string(3));
        return op.finish();
    }
    case 68: { // replaceRange(X, R, c)
        StringOperands op(*this, 4);
        OString& x = op.string(0);
        x.replaceRange(op.span(1, x), op.character(3));
        return op.finish();
    }
    case 93: { // removeCharAt(X, i)
        StringOperands op(*this, 2);
        op.string(0).removeCharAt(op.integer(1));
        return op.finish();
    }
    case 94: { // removeRange(X, R): here the empty range is an error too
        StringOperands op(*this, 3);
        OString& x = op.string(0);
        const OString::Span span = op.span(1, x);
        if (span.isEmpty()) throwError(kRange);
        x.removeRange(span);
        return op.finish();
    }
    case 119: { // removeFirstChar(X)
        StringOperands op(*this, 1);
        op.string(0).removeFirstChars(1);
        return op.finish();
    }
    case 120: { // removeFirstChars(X, n)
        StringOperands op(*this, 2);
        op.string(0).removeFirstChars(op.integer(1));
        return op.finish();
    }
    case 121: { // removeLastChar(X)
        StringOperands op(*this, 1);
        op.string(0).removeLastChars(1);
        return op.finish();
    }
    case 122: { // removeLastChars(X, n)
        StringOperands op(*this, 2);
        op.string(0).removeLastChars(op.integer(1));
        return op.finish();
    }
    case 123: { // clear(X)
        StringOperands op(*this, 1);
        op.string(0).clear();
        return op.finish();
    }
    case 124: { // trimStart(X)
        StringOperands op(*this, 1);
        op.string(0).trimStart();
        return op.finish();
    }
    case 125: { // trimEnd(X)
        StringOperands op(*this, 1);
        op.string(0).trimEnd();
        return op.finish();
    }
    case 126: { // trim(X)
        StringOperands op(*this, 1);
        op.string(0).trim();
        return op.finish();
    }
    case 127: { // toLowerCase(X)
        StringOperands op(*this, 1);
        op.string(0).toLowerCase();
        return op.finish();
    }
    case -128: { // toUpperCase(X)
        StringOperands op(*this, 1);
        op.string(0).toUpperCase();
        return op.finish();
    }
    case -127: { // toLowerChar(c)
        StringOperands op(*this, 1);
        return op.returnInt(toLowerUnit(op.unit(0)));
    }
    case -126: { // toUpperChar(c)
        StringOperands op(*this, 1);
        return op.returnInt(toUpperUnit(op.unit(0)));
    }
    case -125: { // isLetter(c)
        StringOperands op(*this, 1);
        return op.returnBool(isLetterUnit(op.unit(0)));
    }
    case -124: { // isDigit(c)
        StringOperands op(*this, 1);
        return op.returnBool(isDigitUnit(op.unit(0)));
    }
    case -123: { // isWhitespace(c)
        StringOperands op(*this, 1);
        return op.returnBool(isSpaceUnit(op.unit(0)));
    }
    case -122: { // fromInt(i)
        StringOperands op(*this, 1);
        return op.returnString(OString::fromInt(op.integer(0)));
    }
    case -121: { // fromIntRadix(i, radix)
        StringOperands op(*this, 2);
        return op.returnString(OString::fromIntRadix(op.integer(0), op.integer(1)));
    }
    case -120: { // toInt(X)
        StringOperands op(*this, 1);
        return op.returnInt(op.string(0).toInt());
    }
    case -119: { // toIntRadix(X, radix): radix 10 is the signed decimal parse
        StringOperands op(*this, 2);
        const OString& x = op.string(0);
        const int radix = op.integer(1);
        return op.returnInt(radix == 10 ? x.toInt() : x.toIntRadix(radix));
    }
    case -118: { // compare(X, A, F)
        StringOperands op(*this, 3);
        return op.returnInt(op.string(0).compare(op.string(1), op.caseFlag(2)));
    }
    case -117: { // compareRange(X, A, R, F)
        StringOperands op(*this, 5);
        const OString& x = op.string(0);
        const OString& a = op.string(1);
        const CaseSensitivity cs = op.caseFlag(4);
        return op.returnInt(wholeStrings(op, 2) ? x.compare(a, cs)
                                                : x.compare(op.span(2, x), a, cs));
    }
    case -116: { // equalsOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) == op.string(1));
    }
    case -115: { // notEqualsOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) != op.string(1));
    }
    case -114: { // lessOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) < op.string(1));
    }
    case -113: { // lessOrEqualOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) <= op.string(1));
    }
    case -112: { // greaterOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) > op.string(1));
    }
    case -111: { // greaterOrEqualOp(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0) >= op.string(1));
    }
    case -110: { // equals(X, A)
        StringOperands op(*this, 2);
        return op.returnBool(op.string(0).equals(op.string(1), kNoCase));
    }
    case -109: { // equals(X, A, F)
        StringOperands op(*this, 3);
        return op.returnBool(op.string(0).equals(op.string(1), op.caseFlag(2)));
    }
    case -108:
    case -107: { // equalsRange(X, A, R) and (X, A, R, F)
        StringOperands op(*this, operation == -108 ? 4 : 5);
        const OString& x = op.string(0);
        const OString& a = op.string(1);
        const CaseSensitivity cs = operation == -108 ? kNoCase : op.caseFlag(4);
        return op.returnBool(wholeStrings(op, 2) ? x.equals(a, cs)
                                                 : x.equals(op.span(2, x), a, cs));
    }
    case -106:
    case -103: { // substring(X, R)
        StringOperands op(*this, 3);
        const OString& x = op.string(0);
        return op.returnString(x.substring(op.span(1, x)));
    }
    case -105: // does nothing
        return;
    case -104: { // replaceOrInsertRange(X, R, A): count 0 inserts A before start
        StringOperands op(*this, 4);
        OString& x = op.string(0);
        const OString& a = op.string(3);
        const OString::Span span = op.span(1, x);
        if (op.rangeCount(1) == 0)
            x.insertTo(op.rangeStart(1), a);
        else
            x.replaceRange(span, a);
        return op.finish();
    }
    case -102: { // replaceRangeWithPart(X, R1, A, R2)
        StringOperands op(*this, 6);
        OString& x = op.string(0);
        const OString& a = op.string(3);
        const OString::Span target = op.span(1, x);
        const OString part = a.substring(op.span(4, a));
        x.replaceRange(target, part);
        return op.finish();
    }
    case -101:
    case -100: { // indexOfInRange(X, R, A) and (X, R, A, F)
        StringOperands op(*this, operation == -101 ? 4 : 5);
        const OString& x = op.string(0);
        const CaseSensitivity cs = operation == -101 ? kNoCase : op.caseFlag(4);
        return op.returnInt(x.indexOf(op.string(3), op.span(1, x), cs));
    }
    case -99:
    case -98: { // lastIndexOfInRange(X, R, A) and (X, R, A, F)
        StringOperands op(*this, operation == -99 ? 4 : 5);
        const OString& x = op.string(0);
        const CaseSensitivity cs = operation == -99 ? kNoCase : op.caseFlag(4);
        return op.returnInt(x.lastIndexOf(op.string(3), op.span(1, x), cs));
    }
    case -97:
    case -96: { // replaceAllInRange(X, R, A, B) and (X, R, A, B, F)
        StringOperands op(*this, operation == -97 ? 5 : 6);
        OString& x = op.string(0);
        const OString needle = op.string(3);
        const OString replacement = op.string(4);
        const CaseSensitivity cs = operation == -97 ? kNoCase : op.caseFlag(5);
        x.replaceAll(needle, replacement, op.span(1, x), cs);
        return op.finish();
    }
    default: // the families; else 0, the reserved 3, 6, 13, 55, 56, and 54, -95..-1
        // After the switch: the hot operations (appends, lengths, fromInt) do not pay for the
        // families' table walk.
        if (!familyNative(*this, operation)) unknownOperation("String:");
    }
}

} // namespace zelmo
