// SPDX-License-Identifier: MIT
// The array groups (1 and 3 to 7): one template for every element width. Arrays arrive as the
// address of an array value (its first word is the vector's handle); an element travels on the
// stack as SIZE words, the first one deepest. Byte arrays keep the low 8 bits of their word and
// read back as 0..255. Reference arrays (bPrimitive false) hand out the stored reference where
// the others hand out the element's address or words.
//
// Arrays that an operation returns as objects of their own (subvector, concatParts) are boxed
// like every array object, in an array entry whose first word is the vector: the collector
// follows such a box to the vector and its element storage, so the result keeps its elements
// for as long as the application holds it.
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/ArrayRanges.h"
#include "VirtualMachine/natives/GuestVector.h"

#include <array>
#include <cstring>
#include <type_traits>

namespace zelmo {

namespace {

template <class TYPE, int SIZE> struct Element {
    static constexpr bool kByte = std::is_same_v<TYPE, signed char>;
    static constexpr uint32_t kWidth = sizeof(TYPE) * SIZE;
    using Bytes = std::array<uint8_t, kWidth>;

    // The element whose last word lies `depth` words below the top.
    static Bytes read(VirtualMachine& vm, int depth)
    {
        Bytes bytes{};
        for (int k = 0; k < SIZE; ++k) {
            const uint32_t word = vm.argU(depth + SIZE - 1 - k);
            if constexpr (kByte)
                bytes[0] = static_cast<uint8_t>(word);
            else
                std::memcpy(bytes.data() + 4 * k, &word, 4);
        }
        return bytes;
    }

    // Writes the element's words to stack[first], stack[first + 1], ...
    static void write(VirtualMachine& vm, int32_t first, const uint8_t* element)
    {
        for (int k = 0; k < SIZE; ++k) {
            uint32_t word;
            if constexpr (kByte)
                word = element[0];
            else
                std::memcpy(&word, element + 4 * k, 4);
            vm.stackWord(first + k) = static_cast<int32_t>(word);
        }
    }
};

} // namespace

template <class TYPE, int SIZE> void VirtualMachine::vectorNative(int operation, bool bPrimitive)
{
    using E = Element<TYPE, SIZE>;
    constexpr uint32_t kWidth = E::kWidth;

    auto open = [&](uint32_t arrayAddress) {
        return GuestVector::ofArray(m_memory, m_heap, arrayAddress, kWidth);
    };
    // A new vector holding `count` elements copied from `source`.
    auto newVectorFrom = [&](const uint8_t* source, int64_t count) {
        const uint32_t vector = newVector(kWidth, static_cast<int32_t>(count));
        if (count > 0)
            std::memcpy(GuestVector(m_memory, m_heap, vector, kWidth).elements(0, count), source,
                        uint64_t(count) * kWidth);
        return vector;
    };
    // A new array object (box and vector) holding `count` elements copied from `source`.
    auto newArrayFrom = [&](const uint8_t* source, int64_t count) {
        const uint32_t box = newArrayObject(kWidth, static_cast<int32_t>(count), !bPrimitive);
        if (count > 0)
            std::memcpy(
                GuestVector(m_memory, m_heap, m_memory.load32(box), kWidth).elements(0, count),
                source, uint64_t(count) * kWidth);
        return box;
    };
    auto requireInsertPosition = [](int64_t at, const GuestVector& v) {
        if (at < 0 || at > v.length()) throwError(kIndexOutOfBounds);
    };
    // Results that replace an operand: the element's words from stack[first] upward.
    auto pushElementAt = [&](int32_t first, uint32_t address) {
        const uint8_t* element = m_memory.bytes(address, kWidth);
        setSp(first + SIZE - 1);
        E::write(*this, first, element);
    };

    switch (operation) {
    case 2: { // initCopy(D, V)
        const GuestVector v = open(argU(0));
        storeWord(argU(1), newVectorFrom(v.elements(0, v.length()), v.length()));
        popWords(2);
        return;
    }
    case 3: { // initFilled(D, E, n)
        const int32_t count = arg(0);
        if (count < 0 || uint64_t(count) * kWidth > GuestVector::kMaxStorageBytes)
            throwError(kInvalidArgument);
        const typename E::Bytes element = E::read(*this, 1);
        const uint32_t vector = newVector(kWidth, count);
        if (count > 0 && element != typename E::Bytes{}) { // new storage is already zeroed
            uint8_t* out = GuestVector(m_memory, m_heap, vector, kWidth).elements(0, count);
            for (int32_t i = 0; i < count; ++i)
                std::memcpy(out + uint64_t(i) * kWidth, element.data(), kWidth);
        }
        storeWord(argU(SIZE + 1), vector);
        popWords(SIZE + 2);
        return;
    }
    case 4: // does nothing
        return;
    case 5: { // initStepped(D, V, step)
        const int32_t step = arg(0);
        if (step < 1) throwError(kInvalidArgument);
        const GuestVector v = open(argU(1));
        const int64_t count = (v.length() + step - 1) / step;
        const uint32_t vector = newVector(kWidth, static_cast<int32_t>(count));
        if (count > 0) {
            uint8_t* out = GuestVector(m_memory, m_heap, vector, kWidth).elements(0, count);
            const uint8_t* in = v.elements(0, v.length());
            for (int64_t i = 0; i < count; ++i)
                std::memcpy(out + uint64_t(i) * kWidth, in + uint64_t(i) * step * kWidth, kWidth);
        }
        storeWord(argU(2), vector);
        popWords(3);
        return;
    }
    case 6: { // elementRef(V, i): the element's address, or the reference it holds
        const uint32_t address = open(argU(1)).elementAddress(arg(0));
        arg(1) = static_cast<int32_t>(bPrimitive ? address : loadWord(address));
        popWords(1);
        return;
    }
    case 7: { // elementAddress(V, i): reference arrays only
        if (bPrimitive) unknownOperation("Vector:");
        arg(1) = static_cast<int32_t>(open(argU(1)).elementAddress(arg(0)));
        popWords(1);
        return;
    }
    case 8: { // elementValue(V, i)
        const uint32_t address = open(argU(1)).elementAddress(arg(0));
        if (!bPrimitive) {
            arg(1) = static_cast<int32_t>(loadWord(address));
            popWords(1);
        } else {
            // The array reference stays; the element's words start in the index's slot.
            pushElementAt(sp(), address);
        }
        return;
    }
    case 9:    // firstElement(V)
    case 10: { // lastElement(V)
        const GuestVector v = open(argU(0));
        pushElementAt(sp(), v.elementAddress(operation == 9 ? 0 : v.length() - 1));
        return;
    }
    case 11: // length(V)
        arg(0) = static_cast<int32_t>(open(argU(0)).length());
        return;
    case 12: // isEmpty(V)
        arg(0) = open(argU(0)).length() == 0 ? 1 : 0;
        return;
    case 13: { // insertAll(V, at, W)
        const GuestVector w = open(argU(0));
        GuestVector v = open(argU(2));
        if (w.length() > 0) {
            requireInsertPosition(arg(1), v);
            v.splice(arg(1), 0, w.elements(0, w.length()), w.length());
        }
        popWords(3);
        return;
    }
    case 14: { // insertPart(V, at, R, W)
        const GuestVector w = open(argU(0));
        const ElementSpan part = resolveRange(arg(2), arg(1), w.length());
        GuestVector v = open(argU(4));
        if (part.count > 0) {
            requireInsertPosition(arg(3), v);
            v.splice(arg(3), 0, w.elements(part.first, part.count), part.count);
        }
        popWords(5);
        return;
    }
    case 15: { // insert(V, at, E)
        const typename E::Bytes element = E::read(*this, 0);
        GuestVector v = open(argU(SIZE + 1));
        requireInsertPosition(arg(SIZE), v);
        v.splice(arg(SIZE), 0, element.data(), 1);
        popWords(SIZE + 2);
        return;
    }
    case 16:   // prependAll(V, W)
    case 18: { // appendAll(V, W)
        const GuestVector w = open(argU(0));
        GuestVector v = open(argU(1));
        v.splice(operation == 16 ? 0 : v.length(), 0, w.elements(0, w.length()), w.length());
        popWords(2);
        return;
    }
    case 17:   // prepend(V, E)
    case 19: { // append(V, E)
        const typename E::Bytes element = E::read(*this, 0);
        GuestVector v = open(argU(SIZE));
        v.splice(operation == 17 ? 0 : v.length(), 0, element.data(), 1);
        popWords(SIZE + 1);
        return;
    }
    case 20: { // repeat(V, n)
        const int32_t times = arg(0);
        if (times < 0) throwError(kInvalidArgument);
        open(argU(1)).repeat(times);
        popWords(2);
        return;
    }
    case 21: { // removeAt(V, i)
        GuestVector v = open(argU(1));
        v.elementAddress(arg(0)); // the index check
        v.splice(arg(0), 1, nullptr, 0);
        popWords(2);
        return;
    }
    case 22: { // removeRange(V, R): the empty part is refused too
        GuestVector v = open(argU(2));
        const ElementSpan part = resolveRange(arg(1), arg(0), v.length());
        if (part.count == 0) throwError(kRange);
        v.splice(part.first, part.count, nullptr, 0);
        popWords(3);
        return;
    }
    case 23:   // removeFirst(V, n)
    case 24: { // removeLast(V, n)
        GuestVector v = open(argU(1));
        const int32_t count = arg(0);
        if (count < 0 || count > v.length()) throwError(kInvalidArgument);
        v.splice(operation == 23 ? 0 : v.length() - count, count, nullptr, 0);
        popWords(2);
        return;
    }
    case 25: // clear(V)
        open(argU(0)).clear();
        popWords(1);
        return;
    case 26: { // replaceRange(V, R, W)
        const GuestVector w = open(argU(0));
        GuestVector v = open(argU(3));
        const ElementSpan part = resolveRange(arg(2), arg(1), v.length());
        if (part.count > 0) v.splice(part.first, part.count, w.elements(0, w.length()), w.length());
        popWords(4);
        return;
    }
    case 27: { // replaceRangeWithElement(V, R, E)
        const typename E::Bytes element = E::read(*this, 0);
        GuestVector v = open(argU(SIZE + 2));
        const ElementSpan part = resolveRange(arg(SIZE + 1), arg(SIZE), v.length());
        if (part.count > 0) v.splice(part.first, part.count, element.data(), 1);
        popWords(SIZE + 3);
        return;
    }
    case 28: { // initSubvector(D, V, R)
        const GuestVector v = open(argU(2));
        const ElementSpan part = resolveRange(arg(1), arg(0), v.length());
        storeWord(argU(3), newVectorFrom(v.elements(part.first, part.count), part.count));
        popWords(4);
        return;
    }
    case 29: { // initSingle(D, E)
        const typename E::Bytes element = E::read(*this, 0);
        storeWord(argU(SIZE), newVectorFrom(element.data(), 1));
        popWords(SIZE + 1);
        return;
    }
    case 81: { // replaceOrInsertRange(V, R, W)
        const GuestVector w = open(argU(0));
        GuestVector v = open(argU(3));
        const ElementSpan part = resolveCheckedRange(arg(2), arg(1), v.length());
        if (part.count == 0) requireInsertPosition(part.first, v);
        v.splice(part.first, part.count, w.elements(0, w.length()), w.length());
        popWords(4);
        return;
    }
    case 82: { // subvector(V, R): a new array object in V's slot
        const GuestVector v = open(argU(2));
        const ElementSpan part = resolveCheckedRange(arg(1), arg(0), v.length());
        arg(2) = static_cast<int32_t>(newArrayFrom(v.elements(part.first, part.count), part.count));
        popWords(2);
        return;
    }
    case 83: { // replaceRangeWithPart(V, R1, W, R2): a count of 0 in R1 inserts
        const GuestVector w = open(argU(2));
        const ElementSpan source = resolveRange(arg(1), arg(0), w.length());
        GuestVector v = open(argU(5));
        ElementSpan target{arg(4), 0};
        if (arg(3) == 0) {
            if (target.first < 0 || target.first > v.length()) throwError(kRange);
        } else {
            target = resolveRange(arg(4), arg(3), v.length());
        }
        v.splice(target.first, target.count, w.elements(source.first, source.count), source.count);
        popWords(6);
        return;
    }
    case 84: { // concatParts(V, R1, W, R2): a new array object in V's slot
        const GuestVector w = open(argU(2));
        const ElementSpan second = resolveRange(arg(1), arg(0), w.length());
        const GuestVector v = open(argU(5));
        const ElementSpan first = resolveRange(arg(4), arg(3), v.length());
        const int64_t count = first.count + second.count;
        if (uint64_t(count) * kWidth > GuestVector::kMaxStorageBytes) throwError(kInvalidArgument);
        const uint32_t box = newArrayObject(kWidth, static_cast<int32_t>(count), !bPrimitive);
        if (count > 0) {
            uint8_t* out =
                GuestVector(m_memory, m_heap, m_memory.load32(box), kWidth).elements(0, count);
            if (first.count > 0)
                std::memcpy(out, v.elements(first.first, first.count),
                            uint64_t(first.count) * kWidth);
            if (second.count > 0)
                std::memcpy(out + uint64_t(first.count) * kWidth,
                            w.elements(second.first, second.count),
                            uint64_t(second.count) * kWidth);
        }
        arg(5) = static_cast<int32_t>(box);
        popWords(5);
        return;
    }
    default: // 1 is reserved; everything else is unknown
        unknownOperation("Vector:");
    }
}

template void VirtualMachine::vectorNative<signed char, 1>(int, bool);
template void VirtualMachine::vectorNative<int, 1>(int, bool);
template void VirtualMachine::vectorNative<int, 2>(int, bool);
template void VirtualMachine::vectorNative<int, 3>(int, bool);
template void VirtualMachine::vectorNative<int, 4>(int, bool);

} // namespace zelmo
