// SPDX-License-Identifier: MIT
// The catalog tables, expanded from NativeGroups/Groups.def.
#include "VirtualMachine/NativeCatalog.h"

#include <algorithm>
#include <array>

namespace zelmo {

namespace {

// One array of operations per group.
#define NATIVE_GROUP_BEGIN(number, name, prefix, message, note)                                    \
    constexpr NativeOperation k##name##Operations[] = {{-1000, "", "", "", ""},
#define NATIVE_OP(number, name, arguments, result, errors)                                         \
    {number, name, arguments, result, errors},
#define NATIVE_GROUP_END()                                                                         \
    }                                                                                              \
    ;
#include "VirtualMachine/NativeGroups/Groups.def"
#undef NATIVE_GROUP_BEGIN
#undef NATIVE_OP
#undef NATIVE_GROUP_END

// The first row of each array above is a placeholder, so that a group without operations
// still has an array; the spans below skip it.
#define NATIVE_GROUP_BEGIN(number, name, prefix, message, note)                                    \
    {number, #name,                                                                                \
     prefix, NativeMessage::message,                                                               \
     note,   std::span<const NativeOperation>(k##name##Operations).subspan(1)},
#define NATIVE_OP(number, name, arguments, result, errors)
#define NATIVE_GROUP_END()
constexpr NativeGroup kGroups[] = {
#include "VirtualMachine/NativeGroups/Groups.def"
};
#undef NATIVE_GROUP_BEGIN
#undef NATIVE_OP
#undef NATIVE_GROUP_END

consteval bool catalogIsConsistent()
{
    int previous = 0;
    for (const NativeGroup& group : kGroups) {
        if (group.number <= previous || group.number >= kNativeGroupLimit) return false;
        previous = group.number;
        for (size_t i = 0; i < group.operations.size(); ++i)
            for (size_t j = i + 1; j < group.operations.size(); ++j)
                if (group.operations[i].number == group.operations[j].number ||
                    group.operations[i].name == group.operations[j].name)
                    return false;
    }
    return true;
}
static_assert(catalogIsConsistent(), "native groups out of order, or a duplicate operation");

} // namespace

const NativeOperation* NativeGroup::operation(int number) const
{
    auto found = std::ranges::find(operations, number, &NativeOperation::number);
    return found == operations.end() ? nullptr : &*found;
}

const NativeOperation* NativeGroup::operation(std::string_view name) const
{
    auto found = std::ranges::find(operations, name, &NativeOperation::name);
    return found == operations.end() ? nullptr : &*found;
}

std::span<const NativeGroup> nativeGroups()
{
    return kGroups;
}

const NativeGroup* nativeGroup(int number)
{
    auto found = std::ranges::find(kGroups, number, &NativeGroup::number);
    return found == std::end(kGroups) ? nullptr : &*found;
}

const NativeGroup* nativeGroup(std::string_view name)
{
    auto found = std::ranges::find(kGroups, name, &NativeGroup::name);
    return found == std::end(kGroups) ? nullptr : &*found;
}

} // namespace zelmo
