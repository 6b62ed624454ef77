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
    Call,          // through the registry
    IntElementRef, // IntArray.elementRef: the element's address
    IntLength,     // IntArray.length
    IntAppend,     // IntArray.append: in line while the element fits the storage
};

NativeSite nativeSiteFor(int group, int operation);

// The registry's handlers for the operations above (and IntArray.append): each does its one
// operation without the array group's switch. Bound by registerCoreNatives().
void bindArrayOperations();

} // namespace zelmo
