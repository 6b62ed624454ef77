// SPDX-License-Identifier: MIT
#include "VirtualMachine/GuestMemory.h"
#include "Base/Errors.h"

#include <gtest/gtest.h>

using namespace zelmo;

TEST(GuestMemory, HandsOutZeroedAlignedBlocksAboveTheNullRegion)
{
    GuestMemory memory;
    const uint32_t a = memory.allocate(5, 8);
    const uint32_t b = memory.allocate(3 * 1024 * 1024, 8); // crosses a commit step
    EXPECT_GE(a, GuestMemory::kFirstUsable);
    EXPECT_EQ(a % 8, 0u);
    EXPECT_EQ(b % 8, 0u);
    EXPECT_GE(b, a + 5);
    EXPECT_EQ(memory.load32(b + 3 * 1024 * 1024 - 4), 0u);
    memory.store32(a, 0xdeadbeef);
    EXPECT_EQ(memory.load32(a), 0xdeadbeefu);
    EXPECT_EQ(memory.load8(a), 0xef);
    EXPECT_EQ(memory.load16(a + 2), 0xdead);
    memory.store64(b, -2);
    EXPECT_EQ(memory.load64(b), -2);
}

TEST(GuestMemory, NullIsCatchableAndOtherBadAddressesAreFatal)
{
    GuestMemory memory;
    const uint32_t block = memory.allocate(16);
    clearError();
    EXPECT_THROW(memory.load32(0), ErrorHandlingException);
    EXPECT_EQ(lastErrorCode(), kNullPointer);
    EXPECT_EQ(lastErrorText(), u"NullPointerException: NULL pointer");

    const uint64_t top = memory.top();
    for (uint32_t bad :
         {uint32_t{4}, uint32_t{GuestMemory::kFirstUsable - 1}, static_cast<uint32_t>(top - 3),
          static_cast<uint32_t>(top), uint32_t{0xfffffffe}, uint32_t{0xffffffff}}) {
        clearError();
        EXPECT_THROW(memory.load32(bad), ErrorHandlingException) << bad;
        EXPECT_EQ(lastErrorCode(), kFatal) << bad;
    }
    // A block view whose end would wrap in 32-bit arithmetic is refused too.
    EXPECT_THROW(memory.bytes(block, 0xffffffffull), ErrorHandlingException);
    EXPECT_THROW(memory.words(block + 2, 1), ErrorHandlingException);
    EXPECT_NO_THROW(memory.bytes(block, 16));
}

TEST(Errors, TextsAreFormedFromTheCodeTable)
{
    auto textOf = [](int code, const char* message) {
        try {
            throwError(code, message);
        } catch (const ErrorHandlingException&) {
        }
        return lastErrorText();
    };
    EXPECT_EQ(textOf(1, "NULL pointer"), u"NullPointerException: NULL pointer");
    EXPECT_EQ(textOf(3, ""), u"DivisionByZeroException");
    EXPECT_EQ(textOf(4, "x"), u"DataFormatException: : x");
    EXPECT_EQ(textOf(42, "x"), u"UnknownException (CODE:42): x");
    EXPECT_EQ(textOf(11, ""), u"UnknownException (CODE:11)");
    EXPECT_EQ(lastErrorCode(), 11);
    clearError();
    EXPECT_EQ(lastErrorCode(), 0);
}
