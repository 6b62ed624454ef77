// SPDX-License-Identifier: MIT
// Group 18, Graphics: drawing into the target record g, whose drawing context is made on first
// use and cached in the record. A g whose cell holds null makes every operation do nothing; so
// does a null source bitmap or font where the operation takes one. A source's own context is
// closed before it is drawn from, so that its pixmap is complete and no painter is open on it.
#include "graphics/TarnelFont.h"
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

namespace zelmo::graphics {

namespace {

// The source bitmap of a drawing operation, its context closed; null for a null record.
VMBitmap* sourceBitmap(std::optional<GraphicsRecord>& source)
{
    if (!source) return nullptr;
    source->closeContext();
    return source->bitmap();
}

// drawBitmap(g, bmp, Position, alpha): nothing when the source is the target itself.
void drawBitmap(VirtualMachine& vm)
{
    DrawingOperands op(vm, 5);
    std::optional<GraphicsRecord> target = op.record(0);
    std::optional<GraphicsRecord> source = op.record(1);
    if (!target || !source || target->handle() == source->handle()) return op.finish();
    VMBitmap* bitmap = sourceBitmap(source);
    target->context().drawBitmap(bitmap, op.position(2), op.integer(4));
    op.finish();
}

// drawStringRange(g, str, Range, Position, Color, font), and drawString without the range.
void drawString(VirtualMachine& vm, bool hasRange)
{
    const int r = hasRange ? 2 : 0; // words of the range
    DrawingOperands op(vm, 6 + r);
    const OString& text = op.string(1);
    // The range is checked before anything else, null target or font included.
    const DrawingOperands::Run run = hasRange ? op.run(2, text) : DrawingOperands::whole(text);
    std::optional<GraphicsRecord> target = op.record(0);
    CAppsFont* font = op.font(5 + r);
    if (!target || !font) return op.finish();
    const GuestPoint at = op.position(2 + r);
    const uint32_t color = op.color(4 + r);
    auto* imageFont = dynamic_cast<TarnelFont*>(font);
    if (font->type() == CAppsFont::kNative)
        target->context().drawNativeText(text, run.start, run.count, at, color);
    else if (font->type() == CAppsFont::kImage && imageFont)
        target->context().drawImageFontText(text, run.start, run.count, at, color, *imageFont);
    else
        throwError(kInvalidArgument, "Draw string: invalid font type");
    op.finish();
}

// fillRect(g, Rectangle, Color)
void fillRect(VirtualMachine& vm)
{
    DrawingOperands op(vm, 6);
    if (std::optional<GraphicsRecord> target = op.record(0))
        target->context().fillRect(op.rectangle(1), op.color(5));
    op.finish();
}

// drawLine(g, Position, Position, Color)
void drawLine(VirtualMachine& vm)
{
    DrawingOperands op(vm, 6);
    if (std::optional<GraphicsRecord> target = op.record(0))
        target->context().drawLine(op.position(1), op.position(3), op.color(5));
    op.finish();
}

// drawTiled(g, bmp, Rectangle, Position, value): the last value is not used.
void drawTiled(VirtualMachine& vm)
{
    DrawingOperands op(vm, 9);
    std::optional<GraphicsRecord> target = op.record(0);
    std::optional<GraphicsRecord> source = op.record(1);
    if (!target || !source) return op.finish();
    VMBitmap* bitmap = sourceBitmap(source);
    target->context().drawTiled(bitmap, op.rectangle(2), op.position(6));
    op.finish();
}

// drawBitmapRegion(g, bmp, Position, Rectangle, alpha)
void drawBitmapRegion(VirtualMachine& vm)
{
    DrawingOperands op(vm, 9);
    std::optional<GraphicsRecord> target = op.record(0);
    std::optional<GraphicsRecord> source = op.record(1);
    if (!target || !source) return op.finish();
    VMBitmap* bitmap = sourceBitmap(source);
    target->context().drawBitmapRegion(bitmap, op.position(2), op.rectangle(4), op.integer(8));
    op.finish();
}

// clear(g, Color): a bitmap is filled as it is (a translucent color replaces the alpha); a
// bare context fills its whole area.
void clear(VirtualMachine& vm)
{
    DrawingOperands op(vm, 2);
    if (std::optional<GraphicsRecord> target = op.record(0)) {
        if (target->kind() == kBitmapRecord) {
            target->closeContext();
            if (BitmapContainer* bitmap = target->bitmap()) bitmap->fill(op.color(1));
        } else {
            target->context().fillAll(op.color(1));
        }
    }
    op.finish();
}

// drawTransformed(g, bmp, Position, Fixed angle, Fixed scaleX, Fixed scaleY, alpha)
void drawTransformed(VirtualMachine& vm)
{
    DrawingOperands op(vm, 11);
    std::optional<GraphicsRecord> target = op.record(0);
    std::optional<GraphicsRecord> source = op.record(1);
    if (!target || !source) return op.finish();
    VMBitmap* bitmap = sourceBitmap(source);
    target->context().drawTransformed(bitmap, op.position(2), op.fixed(4), op.fixed(6), op.fixed(8),
                                      op.integer(10));
    op.finish();
}

} // namespace

void graphicsNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 1:
        return drawBitmap(vm);
    case 2:
        return drawString(vm, false);
    case 3:
        return drawString(vm, true);
    case 4:
        return fillRect(vm);
    case 5:
        return drawLine(vm);
    case 6:
        return drawTiled(vm);
    case 7:
        return drawBitmapRegion(vm);
    case 8:
        return clear(vm);
    case 9: // five words, no effect
        return vm.popWords(5);
    case 10:
        return drawTransformed(vm);
    default:
        vm.unknownOperation("Graphics:");
    }
}

} // namespace zelmo::graphics
