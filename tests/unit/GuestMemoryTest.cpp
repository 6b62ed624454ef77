// SPDX-License-Identifier: MIT
// Guest addresses: null is the catchable error, every other address outside the blocks is fatal.
#include "VirtualMachine/GuestMemory.h"
#include "ErrorCodeOf.h"

#include <gtest/gtest.h>

using namespace zelmo;
using zelmo::testing::errorCodeOf;

TEST(GuestMemory, NullIsCatchableAndOtherBadAddressesAreFatal)
{
    GuestMemory memory;
    const uint32_t block = memory.allocate(16);
    EXPECT_EQ(errorCodeOf([&] { memory.load32(0); }), kNullPointer);
    EXPECT_EQ(lastErrorText(), u"NullPointerException: NULL pointer");

    const uint64_t top = memory.top();
    for (uint32_t bad :
         {uint32_t{4}, uint32_t{GuestMemory::kFirstUsable - 1}, static_cast<uint32_t>(top - 3),
          static_cast<uint32_t>(top), uint32_t{0xfffffffe}, uint32_t{0xffffffff}}) {
        EXPECT_EQ(errorCodeOf([&] { memory.load32(bad); }), kFatal) << bad;
    }
    // A block view whose end would wrap in 32-bit arithmetic is refused too.
    EXPECT_THROW(memory.bytes(block, 0xffffffffull), ErrorHandlingException);
    EXPECT_THROW(memory.words(block + 2, 1), ErrorHandlingException);
    EXPECT_NO_THROW(memory.bytes(block, 16));
}
