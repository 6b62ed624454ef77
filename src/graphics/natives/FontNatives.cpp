// SPDX-License-Identifier: MIT
// Group 20, Font: the metrics of a font value. A font reference whose cell holds null answers
// 0; a range is validated against the string before that answer, as drawing text does. There
// is no operation 1: fonts are made by the System group.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

namespace zelmo::graphics {

namespace {

// width(font, str [, Range]) and fit(font, str [, Range], maxWidth): the operand words, whether
// a range follows the string, and whether a maximum width ends them.
void measure(VirtualMachine& vm, int words, bool hasRange, bool isFit)
{
    DrawingOperands op(vm, words);
    const OString& text = op.string(1);
    const DrawingOperands::Run run = hasRange ? op.run(2, text) : DrawingOperands::whole(text);
    const CAppsFont* font = op.font(0);
    if (!font) return op.returnInt(0);
    if (!isFit) return op.returnInt(font->width(text, run.start, run.count));
    return op.returnInt(font->fit(text, run.start, run.count, op.integer(words - 1)));
}

} // namespace

void fontNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 2:   // height(font)
    case 3: { // ascent(font)
        DrawingOperands op(vm, 1);
        const CAppsFont* font = op.font(0);
        if (!font) return op.returnInt(0);
        return op.returnInt(operation == 2 ? font->height() : font->ascent());
    }
    case 4: // width(font, str)
        return measure(vm, 2, false, false);
    case 5: // widthRange(font, str, Range)
        return measure(vm, 4, true, false);
    case 6: // fit(font, str, maxWidth)
        return measure(vm, 3, false, true);
    case 7: // fitRange(font, str, Range, maxWidth)
        return measure(vm, 5, true, true);
    default:
        vm.unknownOperation("Font:");
    }
}

} // namespace zelmo::graphics
