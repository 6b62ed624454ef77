// SPDX-License-Identifier: MIT
#include "graphics/GraphicsFileLoader.h"

#include "Base/Errors.h"
#include "IO/FileSystemServices.h"
#include "IO/Stream.h"

namespace zelmo::graphics {

std::vector<uint8_t> readGraphicsFile(FileSystemServices& files, const std::u16string& path)
{
    if (path.empty()) throwError(kInvalidArgument, "Filename is empty");
    std::unique_ptr<TARNEL::InputStream> stream = files.openFileReader(path);
    if (!stream || !stream->isOpen()) throwError(kIO, u"Could not open file: " + path);
    const int size = stream->size();
    if (size == 0) throwError(kInvalidArgument, "File is empty");
    if (size < 0) throwError(kIO);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const bool read = stream->read(bytes.data(), static_cast<uint32_t>(size));
    stream->close();
    if (!read) throwError(kIO);
    return bytes;
}

std::unique_ptr<BitmapContainer> loadPicture(FileSystemServices& files, const std::u16string& path)
{
    const std::vector<uint8_t> bytes = readGraphicsFile(files, path);
    return BitmapContainer::decode(bytes.data(), bytes.size());
}

std::unique_ptr<TarnelFont> loadImageFont(FileSystemServices& files, const std::u16string& path)
{
    const std::vector<uint8_t> bytes = readGraphicsFile(files, path);
    return TarnelFont::decode(bytes.data(), bytes.size());
}

} // namespace zelmo::graphics
