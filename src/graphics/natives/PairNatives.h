// SPDX-License-Identifier: MIT
// The nine operations that Position (x, y) and Size (width, height) share: two signed words,
// set by address, read from the address of a value, compared by value. Sizes refuse negative
// sides where they are set one by one or together.
#pragma once

#include "graphics/natives/DrawingOperands.h"

namespace zelmo::graphics {

inline void pairNative(VirtualMachine& vm, int operation, bool nonNegative, const char* prefix)
{
    const auto checked = [nonNegative](int32_t value) {
        if (nonNegative && value < 0) throwError(kInvalidArgument);
        return value;
    };
    switch (operation) {
    case 1: { // clear(addr)
        DrawingOperands op(vm, 1);
        GuestWords target = op.variable(0, 2);
        target.set(0, 0);
        target.set(1, 0);
        return op.finish();
    }
    case 2: { // copy(addr, &value)
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0, 2);
        const GuestWords source = op.variable(1, 2);
        const int32_t first = source.get(0), second = source.get(1);
        target.set(0, first);
        target.set(1, second);
        return op.finish();
    }
    case 3: { // set(addr, first, second)
        DrawingOperands op(vm, 3);
        GuestWords target = op.variable(0, 2);
        const int32_t first = checked(op.integer(1)), second = checked(op.integer(2));
        target.set(0, first);
        target.set(1, second);
        return op.finish();
    }
    case 4:   // first(&value)
    case 5: { // second(&value)
        DrawingOperands op(vm, 1);
        return op.returnInt(op.variable(0, 2).get(operation - 4));
    }
    case 6:   // setFirst(addr, value)
    case 7: { // setSecond(addr, value)
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0, 2);
        target.set(operation - 6, checked(op.integer(1)));
        return op.finish();
    }
    case 8:   // equals(value, value)
    case 9: { // notEquals
        DrawingOperands op(vm, 4);
        const bool same = op.integer(0) == op.integer(2) && op.integer(1) == op.integer(3);
        return op.returnBool(same == (operation == 8));
    }
    default:
        vm.unknownOperation(prefix);
    }
}

} // namespace zelmo::graphics
