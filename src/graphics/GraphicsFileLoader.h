// SPDX-License-Identifier: MIT
// Pictures and image fonts read from application files. Reading fails with the managed errors
// below; a file that reads but does not decode gives null, and the caller raises its own error.
#pragma once

#include "graphics/BitmapContainer.h"
#include "graphics/TarnelFont.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmo {
class FileSystemServices;
}

namespace zelmo::graphics {

// The whole file at an application path. Empty path: InvalidArgumentException "Filename is
// empty"; cannot open: IOException "Could not open file: " + path; size 0: InvalidArgument
// "File is empty"; a failed read: IOException.
std::vector<uint8_t> readGraphicsFile(FileSystemServices& files, const std::u16string& path);

std::unique_ptr<BitmapContainer> loadPicture(FileSystemServices& files, const std::u16string& path);
std::unique_ptr<TarnelFont> loadImageFont(FileSystemServices& files, const std::u16string& path);

} // namespace zelmo::graphics
