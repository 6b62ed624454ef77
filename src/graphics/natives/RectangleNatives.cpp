// SPDX-License-Identifier: MIT
// Group 17, Rectangle: (x, y, width, height), a Position followed by a Size. The edges are
// computed as the machine's 32-bit add would (wrapping); setting an edge computes the new side
// in 64 bits and refuses one that is negative or does not fit a word.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

#include <climits>

namespace zelmo::graphics {

namespace {

enum Field { kX = 0, kY = 1, kWidth = 2, kHeight = 3 };

int32_t wrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t side(int64_t value)
{
    if (value < 0 || value > INT32_MAX) throwError(kInvalidArgument);
    return static_cast<int32_t>(value);
}

} // namespace

void rectangleNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 1: { // clear(addr)
        DrawingOperands op(vm, 1);
        GuestWords target = op.variable(0, 4);
        for (int k = 0; k < 4; ++k)
            target.set(k, 0);
        return op.finish();
    }
    case 2: { // copy(addr, &Rectangle)
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0, 4);
        const GuestWords source = op.variable(1, 4);
        const GuestRect r{source.get(kX), source.get(kY), source.get(kWidth), source.get(kHeight)};
        target.set(kX, r.x);
        target.set(kY, r.y);
        target.set(kWidth, r.width);
        target.set(kHeight, r.height);
        return op.finish();
    }
    case 3: { // set(addr, Position, Size)
        DrawingOperands op(vm, 5);
        GuestWords target = op.variable(0, 4);
        for (int k = 0; k < 4; ++k)
            target.set(k, op.integer(1 + k));
        return op.finish();
    }
    case 4:   // position(&Rectangle)
    case 5: { // size(&Rectangle)
        DrawingOperands op(vm, 1);
        const GuestWords source = op.variable(0, 4);
        const int first = operation == 4 ? kX : kWidth;
        return op.returnPair(source.get(first), source.get(first + 1));
    }
    case 6:   // x(&Rectangle)
    case 7:   // y
    case 8:   // width
    case 9: { // height
        DrawingOperands op(vm, 1);
        return op.returnInt(op.variable(0, 4).get(operation - 6));
    }
    case 10:   // right(&Rectangle)
    case 11: { // bottom
        DrawingOperands op(vm, 1);
        const GuestWords source = op.variable(0, 4);
        const int axis = operation - 10;
        return op.returnInt(wrappingAdd(source.get(kX + axis), source.get(kWidth + axis)));
    }
    case 12:   // setPosition(addr, Position)
    case 13: { // setSize(addr, Size): copied without a check
        DrawingOperands op(vm, 3);
        GuestWords target = op.variable(0, 4);
        const int first = operation == 12 ? kX : kWidth;
        target.set(first, op.integer(1));
        target.set(first + 1, op.integer(2));
        return op.finish();
    }
    case 14:   // setX(addr, value)
    case 15:   // setY
    case 16:   // setWidth
    case 17: { // setHeight
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0, 4);
        const int field = operation - 14;
        const int32_t value = op.integer(1);
        if (field >= kWidth && value < 0) throwError(kInvalidArgument);
        target.set(field, value);
        return op.finish();
    }
    case 18:   // setRight(addr, value): width = value - x
    case 19: { // setBottom(addr, value): height = value - y
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0, 4);
        const int axis = operation - 18;
        target.set(kWidth + axis, side(int64_t{op.integer(1)} - target.get(kX + axis)));
        return op.finish();
    }
    case 20:   // equals(Rectangle, Rectangle)
    case 21: { // notEquals
        DrawingOperands op(vm, 8);
        bool same = true;
        for (int k = 0; k < 4; ++k)
            same = same && op.integer(k) == op.integer(4 + k);
        return op.returnBool(same == (operation == 20));
    }
    default:
        vm.unknownOperation("Rectangle:");
    }
}

} // namespace zelmo::graphics
