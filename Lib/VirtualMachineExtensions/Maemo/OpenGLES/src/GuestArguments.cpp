// SPDX-License-Identifier: MIT
#include "OpenGLES/GuestArguments.h"

#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/GuestVector.h"

#include <vector>

namespace zelmo::gles {

GuestBytes resolveArray(VirtualMachine& vm, uint32_t arrayWord, const char* glName)
{
    if (arrayWord == 0) throwError(kNullPointer, "NULL pointer");
    const uint32_t vector = vm.memory().load32(arrayWord);
    if (vector == 0) throwError(kNullPointer, "NULL pointer");
    VMHeap& heap = vm.heap();
    if (!heap.isLiveHandle(vector) || heap.entryOf(vector)->gcCode != GC_CODE_VECTOR)
        throwError(kVMException, std::string(glName) + ": not an array");
    // Any element type will do: GL sees bytes. The vector's words are checked against its
    // storage before a byte is handed out.
    const uint32_t elementSize = vm.memory().load32(vector + VectorLayout::kElementSize);
    const GuestVector elements(vm.memory(), heap, vector, elementSize);
    return {elements.elements(0, elements.length()), uint64_t(elements.length()) * elementSize};
}

void requireBytes(const GuestBytes& bytes, uint64_t needed, const char* glName)
{
    if (needed <= bytes.size) return;
    throwError(kIndexOutOfBounds, std::string(glName) + ": needs " + std::to_string(needed) +
                                      " bytes, array has " + std::to_string(bytes.size));
}

std::string latin1String(VirtualMachine& vm, uint32_t stringWord)
{
    const OString& text = vm.stringOf(stringWord);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.length()));
    for (const char16_t unit : text.view())
        bytes.push_back(static_cast<char>(unit & 0xFF));
    return bytes;
}

std::u16string infoLogText(int32_t length, const std::function<void(int32_t, char*)>& read)
{
    std::u16string text;
    if (length <= 1) return text;
    // One byte more, zeroed: the text ends even if GL leaves out the terminator.
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    read(length, log.data());
    for (size_t i = 0; i < static_cast<size_t>(length) && log[i] != '\0'; ++i)
        text.push_back(static_cast<char16_t>(static_cast<uint8_t>(log[i])));
    return text;
}

} // namespace zelmo::gles
