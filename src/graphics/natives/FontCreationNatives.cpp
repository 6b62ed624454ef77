// SPDX-License-Identifier: MIT
// System operations 10 to 12, which make font values: the default font, and image fonts from a
// file or from the bytes of an array. They live with the fonts, outside the core.
#include "graphics/FontCreation.h"
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

namespace zelmo::graphics {

void fontCreationNative(VirtualMachine& vm, int operation)
{
    switch (operation) {
    case 10: // defaultFont: pushes a new font value
        return vm.pushWord(static_cast<int32_t>(createDefaultFontValue(vm.heap())));
    case 11: { // loadImageFont(path)
        DrawingOperands op(vm, 1);
        const std::u16string path = op.string(0).toU16();
        return op.returnInt(
            static_cast<int32_t>(loadImageFontValue(vm.heap(), vm.requireHost(), path)));
    }
    case 12: { // decodeImageFont(bytes)
        DrawingOperands op(vm, 1);
        return op.returnInt(static_cast<int32_t>(decodeImageFontValue(vm.heap(), op.bytes(0))));
    }
    default:
        vm.unknownOperation("System:");
    }
}

} // namespace zelmo::graphics
