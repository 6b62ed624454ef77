// SPDX-License-Identifier: MIT
// Group 13, Color: one word 0xAARRGGBB. Components are set by address and read from the
// address of a color; the predefined colors are pushed.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

#include <array>

namespace zelmo::graphics {

namespace {

constexpr std::array<uint32_t, 11> kPredefined = {
    0xFFFF0000, // 14 red
    0xFF00FF00, // 15 green
    0xFF0000FF, // 16 blue
    0xFF000000, // 17 black
    0xFFFFFFFF, // 18 white
    0xFF00FFFF, // 19 cyan
    0xFFFF00FF, // 20 magenta
    0xFFFFFF00, // 21 yellow
    0xFF808080, // 22 gray
    0xFF964B00, // 23 brown
    0xFFFF7F00, // 24 orange
};

// Bit position of each component, from operation 4 (red) / 8 (set red) on.
constexpr std::array<int, 4> kShift = {16, 8, 0, 24}; // red, green, blue, alpha

uint32_t component(uint32_t value)
{
    // Compared as unsigned, so a negative value is out of range too.
    if (value > 255) throwError(kInvalidArgument);
    return value;
}

} // namespace

void colorNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 1: { // setWhite(addr)
        DrawingOperands op(vm, 1);
        op.variable(0).set(0, int32_t(0xFFFFFFFF));
        return op.finish();
    }
    case 2: { // copy(addr, &Color)
        DrawingOperands op(vm, 2);
        op.variable(0).set(0, op.variable(1).get(0));
        return op.finish();
    }
    case 3: { // setRgba(addr, red, green, blue, alpha)
        DrawingOperands op(vm, 5);
        GuestWords target = op.variable(0);
        const uint32_t red = component(op.color(1)), green = component(op.color(2));
        const uint32_t blue = component(op.color(3)), alpha = component(op.color(4));
        target.set(0, int32_t(alpha << 24 | red << 16 | green << 8 | blue));
        return op.finish();
    }
    case 4:   // red(&Color)
    case 5:   // green
    case 6:   // blue
    case 7: { // alpha
        DrawingOperands op(vm, 1);
        const uint32_t color = uint32_t(op.variable(0).get(0));
        return op.returnInt(int32_t(color >> kShift[operation - 4] & 0xFF));
    }
    case 8:    // setRed(addr, value)
    case 9:    // setGreen
    case 10:   // setBlue
    case 11: { // setAlpha
        DrawingOperands op(vm, 2);
        GuestWords target = op.variable(0);
        const int shift = kShift[operation - 8];
        const uint32_t value = component(op.color(1));
        const uint32_t color = uint32_t(target.get(0)) & ~(0xFFu << shift);
        target.set(0, int32_t(color | value << shift));
        return op.finish();
    }
    case 12:   // equals(Color, Color)
    case 13: { // notEquals
        DrawingOperands op(vm, 2);
        return op.returnBool((op.color(0) == op.color(1)) == (operation == 12));
    }
    default:
        if (operation >= 14 && operation <= 24)
            return vm.pushWord(int32_t(kPredefined[operation - 14]));
        vm.unknownOperation("Color:");
    }
}

} // namespace zelmo::graphics
