// SPDX-License-Identifier: MIT
// The hottest String operations as handlers of their own, bound over the String group handler
// so that a call skips the group's switch and its operand helper. Each reads its operands in the
// order the group handler does, so a bad operand raises the same error. The interpreter runs
// append(X, c) and length(X) in line at sites bound to these handlers, and fromInt followed by
// append(X, A) as one step (NativeSites.h).
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/NativeSites.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

namespace {

constexpr int kString = 8;
constexpr int kLength = 10;
constexpr int kCharAt = 12;
constexpr int kAppendText[] = {62, 64};
constexpr int kAppendChar[] = {63, 65};
constexpr int kFromInt = -122;

void length(VirtualMachine& vm, int)
{
    vm.arg(0) = stringLength(vm, vm.argU(0));
}

void charAt(VirtualMachine& vm, int)
{
    vm.arg(1) = vm.stringOf(vm.argU(1)).charAt(vm.arg(0));
    vm.popWords(1);
}

void appendText(VirtualMachine& vm, int)
{
    OString& x = vm.stringOf(vm.argU(1));
    x.append(vm.stringOf(vm.argU(0)));
    vm.popWords(2);
}

void appendChar(VirtualMachine& vm, int)
{
    const uint32_t box = vm.argU(1);
    appendStringChar(vm, box, vm.arg(0));
    vm.popWords(2);
}

void fromInt(VirtualMachine& vm, int)
{
    vm.arg(0) = static_cast<int32_t>(vm.newString(OString::fromInt(vm.arg(0))));
}

} // namespace

void appendStringChar(VirtualMachine& vm, uint32_t box, int32_t c)
{
    vm.stringOf(box).append(static_cast<char16_t>(c & 0xFFFF));
}

int32_t stringLength(VirtualMachine& vm, uint32_t box)
{
    return vm.stringOf(box).length();
}

bool appendDecimalInPlace(VirtualMachine& vm, uint32_t box, int32_t value)
{
    // Only a box that the two instructions would accept: anything else takes them one by one,
    // so that each fault is raised where it always was.
    const GuestMemory& memory = vm.memory();
    if (!memory.contains(box, 4)) return false;
    const uint32_t string = memory.load32(box);
    if (!memory.contains(string, 4)) return false;
    OString* x = vm.objects().findAs<OString>(memory.load32(string));
    constexpr int kLongestDecimal = 11; // "-2147483648"
    if (!x || x->length() > OString::kMaxLength - kLongestDecimal) return false;
    x->appendDecimal(value);
    return true;
}

void bindStringOperations()
{
    bindNativeOperation(kString, kLength, &length);
    bindNativeOperation(kString, kCharAt, &charAt);
    for (const int operation : kAppendText)
        bindNativeOperation(kString, operation, &appendText);
    for (const int operation : kAppendChar)
        bindNativeOperation(kString, operation, &appendChar);
    bindNativeOperation(kString, kFromInt, &fromInt);
}

NativeSite stringSiteFor(int group, int operation)
{
    const NativeHandler handler = nativeHandler(group, operation);
    if (handler == &appendChar) return NativeSite::StringAppendChar;
    if (handler == &length) return NativeSite::StringLength;
    return NativeSite::Call;
}

bool isFromIntThenAppend(int group, int operation, int nextGroup, int nextOperation)
{
    return nativeHandler(group, operation) == &fromInt &&
           nativeHandler(nextGroup, nextOperation) == &appendText;
}

} // namespace zelmo
