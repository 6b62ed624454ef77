// SPDX-License-Identifier: MIT
// The extension seam: the checked stack view a handler gets, and the host's registry (lazy
// creation with the machine, one object per id, unknown ids refused with a catchable error).
#include "host/ExtensionHost.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/VirtualMachine.h"

#include <gtest/gtest.h>

#include <string>

using namespace zelmo;

namespace {

// The error code a call raises, with its text; "none" when it returns.
template <class F> std::string failureOf(F call)
{
    try {
        call();
    } catch (const ErrorHandlingException&) {
        return std::to_string(lastErrorCode()) + " " + toUtf8(lastErrorText());
    }
    return "none";
}

} // namespace

TEST(ExtensionStack, WordsAndFixedValuesStayInsideTheStack)
{
    VirtualMachine vm;
    vm.setSp(-1);
    ExtensionStack stack(vm);
    stack.pushWord(5);
    stack.pushFixed(int64_t{-3} * (int64_t{1} << 32) + 7); // -3 + 7 * 2^-32
    EXPECT_EQ(stack.top(), 2);
    EXPECT_EQ(vm.sp(), 2);          // the machine sees every change at once
    EXPECT_EQ(vm.stackWord(1), 7);  // low word in the lower slot
    EXPECT_EQ(vm.stackWord(2), -3); // high word on top
    EXPECT_EQ(stack.peekWord(2), 5);
    EXPECT_EQ(stack.peekFixed(), int64_t{-3} * (int64_t{1} << 32) + 7);
    EXPECT_EQ(stack.popFixed(), int64_t{-3} * (int64_t{1} << 32) + 7);
    EXPECT_EQ(stack.popWord(), 5);
    EXPECT_EQ(stack.top(), -1);

    // Below word 0 and past the end are the machine's fatal stack errors.
    EXPECT_EQ(failureOf([&] { stack.popWord(); }), "11 UnknownException (CODE:11)");
    stack.pushWord(1);
    EXPECT_EQ(failureOf([&] { stack.popFixed(); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(failureOf([&] { stack.peekWord(0xFFFFFFFFu); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(stack.top(), 0);
    vm.setSp(VirtualMachine::kStackWords - 2);
    EXPECT_EQ(failureOf([&] { stack.pushFixed(1); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(stack.top(), VirtualMachine::kStackWords - 2); // nothing half-pushed
    stack.pushWord(9);
    EXPECT_EQ(stack.peekWord(), 9);
}

TEST(ExtensionHost, MakesEachExtensionOnceAndRefusesUnknownIds)
{
    // Adds its first argument to a count it keeps, and pushes the count.
    class Adder : public Extension {
    public:
        explicit Adder(int& made) { ++made; }
        void call(int32_t operation, ExtensionStack& stack) override
        {
            if (operation != 1) raiseFatal("Adder: Unknown opcode!");
            m_total += stack.popWord();
            stack.pushWord(m_total);
        }

    private:
        int32_t m_total = 0;
    };

    VirtualMachine vm;
    ExtensionHost host;
    ExtensionStack stack(vm);
    for (const int32_t id : {0, 20, 21, 99, -1})
        EXPECT_EQ(failureOf([&] { host.call(id, 1, stack, vm); }),
                  "10 VMException: Dll not supported");

    int made = 0;
    VirtualMachine* madeWith = nullptr;
    host.registerExtension(kAccelerometerExtension, [&](VirtualMachine& machine) {
        madeWith = &machine;
        return std::make_unique<Adder>(made);
    });
    EXPECT_TRUE(host.knows(kAccelerometerExtension));
    EXPECT_FALSE(host.knows(21));
    EXPECT_EQ(made, 0); // nothing is made before its first call
    vm.setSp(-1);
    stack.pushWord(4);
    host.call(kAccelerometerExtension, 1, stack, vm);
    stack.pushWord(3);
    host.call(kAccelerometerExtension, 1, stack, vm);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(madeWith, &vm);
    EXPECT_EQ(stack.popWord(), 7); // the same object kept its count
    EXPECT_EQ(failureOf([&] { host.call(kAccelerometerExtension, 2, stack, vm); }),
              "11 UnknownException (CODE:11)");

    host.releaseAll(); // the next call makes a new one
    stack.pushWord(1);
    host.call(kAccelerometerExtension, 1, stack, vm);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(stack.popWord(), 1);
}
