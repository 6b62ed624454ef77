// SPDX-License-Identifier: MIT
// Host objects referenced from the guest by index. A guest word can be forged, so every lookup
// checks that the index is live and that the object has the expected type; a bad index becomes
// a managed error, never a stray host pointer.
#pragma once

#include "Containers/GCObject.h"

#include <cstdint>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace zelmo {

class ObjectTable {
public:
    ObjectTable();
    ~ObjectTable();

    // Takes ownership; returns the object's index (never 0).
    uint32_t add(std::unique_ptr<GCObject> object);
    // Destroys the object at index (runs its destructor exactly once). A dead index is ignored.
    void destroy(uint32_t index);

    // The live object at index, or null when the index is not live.
    GCObject* find(uint32_t index) const
    {
        return index < m_slots.size() ? m_slots[index].get() : nullptr;
    }
    // The live object at index if it has type T, else null.
    template <class T> T* findAs(uint32_t index) const
    {
        GCObject* found = find(index);
        // A final class has no subclasses, so its exact type is the whole test: far cheaper
        // than a cast that searches the hierarchy (strings are looked up on every operation).
        if constexpr (std::is_final_v<T>)
            return found && typeid(*found) == typeid(T) ? static_cast<T*>(found) : nullptr;
        else
            return dynamic_cast<T*>(found);
    }
    // The live object at index with type T; raises the managed VMException otherwise.
    template <class T> T& get(uint32_t index) const
    {
        T* object = findAs<T>(index);
        if (!object) [[unlikely]]
            rejectIndex(index);
        return *object;
    }

    size_t liveCount() const { return m_live; }

private:
    [[noreturn]] static void rejectIndex(uint32_t index);

    std::vector<std::unique_ptr<GCObject>> m_slots; // slot 0 is never used
    std::vector<uint32_t> m_freeSlots;
    size_t m_live = 0;
};

} // namespace zelmo
