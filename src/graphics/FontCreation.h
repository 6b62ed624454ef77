// SPDX-License-Identifier: MIT
// Making fonts for bytecode: each result is a font value (a reference box holding the font
// entry), ready to be left on the operand stack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmo {
class FileSystemServices;
class VMHeap;
} // namespace zelmo

namespace zelmo::graphics {

// A native font of pixel size 40.
uint32_t createDefaultFontValue(VMHeap& heap);
// The image font in a file; the file reader's errors, then InvalidArgumentException (no
// message) when the picture does not make a font.
uint32_t loadImageFontValue(VMHeap& heap, FileSystemServices& files, const std::u16string& path);
// The image font encoded in the bytes: InvalidArgumentException "byte[] is empty" for no bytes,
// InvalidArgumentException (no message) when they do not decode.
uint32_t decodeImageFontValue(VMHeap& heap, const std::vector<uint8_t>& bytes);

} // namespace zelmo::graphics
