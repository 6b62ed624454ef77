// SPDX-License-Identifier: MIT
#include "host/HeadlessPlatform.h"

#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachineExtensions/Extension.h"

namespace zelmo {

HeadlessGraphics headlessGraphicsNeeded(const VirtualMachine* image, bool screenshot,
                                        GuiNativePredicate needsGui)
{
    if (image && image->extensionsUsed.test(size_t(kOpenGlesExtension)))
        return HeadlessGraphics::OpenGl;
    if (screenshot) return HeadlessGraphics::Drawing;
    if (image && needsGui) {
        for (const uint16_t key : image->nativeOperationsUsed)
            if (needsGui(key >> 8, static_cast<int8_t>(key & 0xff)))
                return HeadlessGraphics::Drawing;
    }
    return HeadlessGraphics::None;
}

bool headlessNeedsGui(const VirtualMachine* image, bool screenshot, GuiNativePredicate needsGui)
{
    if (headlessGraphicsNeeded(image, screenshot, needsGui) != HeadlessGraphics::None) return true;
    return image && (image->extensionsUsed.test(size_t(kAudioPlayerExtension)) ||
                     image->extensionsUsed.test(size_t(kDesktopExtension)));
}

} // namespace zelmo
