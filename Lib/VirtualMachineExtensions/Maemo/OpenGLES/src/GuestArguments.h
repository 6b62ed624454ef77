// SPDX-License-Identifier: MIT
// The pointer arguments of the GL bindings, resolved from stack words through the machine's
// checks: an array word is the address of an array value (or box) whose vector must be a live
// vector with intact storage; a string word is a string value. Nothing here trusts a word.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zelmo {
class VirtualMachine;
}

namespace zelmo::gles {

// The element storage of an array: `size` bytes at `data` (null when the array is empty).
struct GuestBytes {
    uint8_t* data = nullptr;
    uint64_t size = 0;
};

// Null word or vector: NullPointerException "NULL pointer". A word that does not lead to a
// vector: VMException naming `glName`.
GuestBytes resolveArray(VirtualMachine& vm, uint32_t arrayWord, const char* glName);

// Raises IndexOutOfBoundsException "<glName>: needs N bytes, array has M" when `needed` is
// more than the array holds.
void requireBytes(const GuestBytes& bytes, uint64_t needed, const char* glName);

// The low 8 bits of each code unit of the string value `stringWord`, for a GL call.
std::string latin1String(VirtualMachine& vm, uint32_t stringWord);

// The text of an info log that GL says is `length` bytes long, terminator included: `read`
// fills a buffer of that many bytes. A length of 0 or 1 holds no text and nothing is read.
std::u16string infoLogText(int32_t length, const std::function<void(int32_t, char*)>& read);

} // namespace zelmo::gles
