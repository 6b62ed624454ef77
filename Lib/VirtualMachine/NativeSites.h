// SPDX-License-Identifier: MIT
// What a NATIVE instruction does, decided once when the image is loaded. The loader asks the
// registry for the handler that answers the site's (group, operation) and records a kind per
// site: the int array operations whose handler is the core's own run in line in the
// interpreter, everything else calls the registry. A call that fails (unknown group or
// operation) is a plain call site too, so it fails only when executed, with its usual message.
#pragma once

#include <cstdint>

namespace zelmo {

class VirtualMachine;

enum class NativeSite : uint8_t {
    Call,             // through the registry
    IntElementRef,    // IntArray.elementRef: the element's address
    IntLength,        // IntArray.length
    IntAppend,        // IntArray.append: in line while the element fits the storage
    StringAppendChar, // String.append(X, c)
    StringLength,     // String.length
    // String.fromInt directly followed by String.append(X, A): the decimal text goes straight
    // into X, without the temporary string, when X is a live string.
    StringFromIntAppend,
};

// Bytes of a NATIVE instruction (opcode, group, operation).
constexpr int kNativeInstructionBytes = 3;

NativeSite nativeSiteFor(int group, int operation);

// The registry's handlers for the operations above (and IntArray.append): each does its one
// operation without the array group's switch. Bound by registerCoreNatives().
void bindArrayOperations();

// The same for the hottest String operations (StringOperations.cpp): the site kind of a String
// operation, the handlers' binding, and the in-line sites' work on a string box (every check of
// the group handler: a null box is "NULL pointer", a forged one a VMException).
NativeSite stringSiteFor(int group, int operation);
void bindStringOperations();
void appendStringChar(VirtualMachine& vm, uint32_t box, int32_t c);
int32_t stringLength(VirtualMachine& vm, uint32_t box);
// True when the NATIVE site (group, operation) followed by (nextGroup, nextOperation) is
// fromInt then append(X, A).
bool isFromIntThenAppend(int group, int operation, int nextGroup, int nextOperation);
// Appends the decimal text of value to the string in `box`; false, changing nothing, when the
// box holds no live string (or the text would grow too long).
bool appendDecimalInPlace(VirtualMachine& vm, uint32_t box, int32_t value);

} // namespace zelmo
