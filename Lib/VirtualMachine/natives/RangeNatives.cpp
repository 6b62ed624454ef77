// SPDX-License-Identifier: MIT
// Group 14, Range: an index range {first, count} used with strings and arrays (a count of -1
// reaches to the end). Operations take a range reference, the address of the two words, except
// equals and notEquals, which compare two range values held directly on the stack.
#include "VirtualMachine/VirtualMachine.h"

#include <limits>

namespace zelmo {

namespace {

// A range reference; checked here because the count word at +4 of a null reference would not
// read as the null error.
uint32_t rangeAt(uint32_t reference)
{
    if (reference == 0) throwError(kNullPointer, "NULL pointer");
    return reference;
}

void storeRange(VirtualMachine& vm, uint32_t reference, int32_t first, int32_t count)
{
    const uint32_t range = rangeAt(reference);
    vm.storeWord(range, static_cast<uint32_t>(first));
    vm.storeWord(range + 4, static_cast<uint32_t>(count));
}

void require(bool condition)
{
    if (!condition) throwError(kInvalidArgument);
}

} // namespace

void VirtualMachine::rangeNative(int operation)
{
    switch (operation) {
    case 1: // clear(r)
        storeRange(*this, argU(0), 0, 0);
        popWords(1);
        return;
    case 2: { // assign(r, r2)
        const uint32_t source = rangeAt(argU(0));
        const int32_t first = static_cast<int32_t>(loadWord(source));
        const int32_t count = static_cast<int32_t>(loadWord(source + 4));
        storeRange(*this, argU(1), first, count);
        popWords(2);
        return;
    }
    case 3: { // setFirstLast(r, first, last)
        const int32_t first = arg(1), last = arg(0);
        require(first >= 0 && last >= 0 && first <= last);
        // 0..INT32_MAX holds INT32_MAX + 1 indexes, one more than a count can say.
        const int64_t count = int64_t{last} - first + 1;
        require(count <= std::numeric_limits<int32_t>::max());
        storeRange(*this, argU(2), first, static_cast<int32_t>(count));
        popWords(3);
        return;
    }
    case 4: // setFirstCount(r, first, count)
        require(arg(1) >= 0 && arg(0) >= 0);
        storeRange(*this, argU(2), arg(1), arg(0));
        popWords(3);
        return;
    case 5: // getFirst(r)
        arg(0) = static_cast<int32_t>(loadWord(argU(0)));
        return;
    case 6: // getCount(r)
        arg(0) = static_cast<int32_t>(loadWord(rangeAt(argU(0)) + 4));
        return;
    case 7: // setFirst(r, first)
        require(arg(0) >= 0);
        storeWord(argU(1), argU(0));
        popWords(2);
        return;
    case 8: // setCount(r, count)
        require(arg(0) >= 0);
        storeWord(rangeAt(argU(1)) + 4, argU(0));
        popWords(2);
        return;
    case 9:    // equals(v, w): two values of two words each
    case 10: { // notEquals(v, w)
        const bool same = arg(3) == arg(1) && arg(2) == arg(0);
        arg(3) = same == (operation == 9) ? 1 : 0;
        popWords(3);
        return;
    }
    case 11: // fromFirst(r, first): from first to the end
    case 12: // fromFirst2(r, first)
        require(arg(0) >= 0);
        storeRange(*this, argU(1), arg(0), -1);
        popWords(2);
        return;
    default:
        unknownOperation("Range:");
    }
}

} // namespace zelmo
