// SPDX-License-Identifier: MIT
#include "VirtualMachine/ObjectTable.h"

#include "Base/Errors.h"

#include <string>

namespace zelmo {

ObjectTable::ObjectTable()
{
    m_slots.emplace_back();
}

ObjectTable::~ObjectTable() = default;

uint32_t ObjectTable::add(std::unique_ptr<GCObject> object)
{
    ++m_live;
    if (!m_freeSlots.empty()) {
        const uint32_t index = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_slots[index] = std::move(object);
        return index;
    }
    m_slots.push_back(std::move(object));
    return static_cast<uint32_t>(m_slots.size() - 1);
}

void ObjectTable::destroy(uint32_t index)
{
    if (index == 0 || index >= m_slots.size() || !m_slots[index]) return;
    // Move out first: a destructor that looks the table up must not see a half-dead object.
    std::unique_ptr<GCObject> dying = std::move(m_slots[index]);
    m_freeSlots.push_back(index);
    --m_live;
}

void ObjectTable::rejectIndex(uint32_t index)
{
    throwError(kVMException, "invalid native object reference " + std::to_string(index));
}

} // namespace zelmo
