// SPDX-License-Identifier: MIT
#include "graphics/FontCreation.h"

#include "Base/Errors.h"
#include "graphics/GraphicsFileLoader.h"
#include "graphics/GraphicsRecord.h"
#include "graphics/NativeFont.h"

namespace zelmo::graphics {

uint32_t createDefaultFontValue(VMHeap& heap)
{
    return createFontBox(heap, std::make_unique<NativeFont>());
}

uint32_t loadImageFontValue(VMHeap& heap, FileSystemServices& files, const std::u16string& path)
{
    std::unique_ptr<TarnelFont> font = loadImageFont(files, path);
    if (!font) throwError(kInvalidArgument);
    return createFontBox(heap, std::move(font));
}

uint32_t decodeImageFontValue(VMHeap& heap, const std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) throwError(kInvalidArgument, "byte[] is empty");
    std::unique_ptr<TarnelFont> font = TarnelFont::decode(bytes.data(), bytes.size());
    if (!font) throwError(kInvalidArgument);
    return createFontBox(heap, std::move(font));
}

} // namespace zelmo::graphics
