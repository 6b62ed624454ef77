// SPDX-License-Identifier: MIT
#include "host/HeadlessPlatform.h"

#include "VirtualMachine/NativeRegistry.h"
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

bool headlessNeedsGui(const VirtualMachine* image, bool screenshot)
{
    if (screenshot) return true;
    if (!image) return false;
    for (const int id : {kAudioPlayerExtension, kDesktopExtension, kOpenGlesExtension})
        if (image->extensionsUsed.test(size_t(id))) return true;
    // Reading the image made a machine, which bound the core's natives.
    for (const uint16_t key : image->nativeOperationsUsed)
        if (!nativeHandler(key >> 8, static_cast<int8_t>(key & 0xff))) return true;
    return false;
}

} // namespace zelmo
