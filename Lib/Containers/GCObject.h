// SPDX-License-Identifier: MIT
// Base of every native object that a heap entry keeps alive (strings, date-times, key events,
// file readers and writers, hashes, bitmaps, fonts, ...). Such objects are ordinary C++ objects
// held by the machine's ObjectTable; their heap entry has isGCObject = -1 and stores the table
// index in its first word. The heap destroys the object when it releases the entry.
#pragma once

#include <cstdint>
#include <vector>

namespace zelmo {

class GCObject {
public:
    virtual ~GCObject() = default;
    // Appends the handle of every managed object this object keeps alive.
    virtual void reportReferences(std::vector<uint32_t>& /*workList*/) const {}
    // Bytes held outside the heap; feeds the memory-usage report only.
    virtual int memoryOutsideHeap() const { return 0; }
};

} // namespace zelmo
