// SPDX-License-Identifier: MIT
// Routes the NATIVE instruction to its group. Groups are member functions of the machine, one
// file each; the array groups share one template with different element widths.
#include "VirtualMachine/VirtualMachine.h"

#include <array>
#include <string>

namespace zelmo {

namespace {

using GroupFunction = void (*)(VirtualMachine&, int);

template <void (VirtualMachine::*F)(int)> void callGroup(VirtualMachine& vm, int operation)
{
    (vm.*F)(operation);
}

template <class TYPE, int SIZE, bool PRIMITIVE> void callVector(VirtualMachine& vm, int operation)
{
    vm.vectorNative<TYPE, SIZE>(operation, PRIMITIVE);
}

// Indexed by group number; null entries are not groups.
constexpr std::array<GroupFunction, 37> kGroups = {
    nullptr,                                         // 0
    &callVector<signed char, 1, true>,               // 1 byte arrays
    nullptr,                                         // 2 not assigned
    &callVector<int, 1, true>,                       // 3 one-word arrays
    &callVector<int, 2, true>,                       // 4 two-word arrays
    &callVector<int, 3, true>,                       // 5 three-word arrays
    &callVector<int, 4, true>,                       // 6 four-word arrays
    &callVector<int, 1, false>,                      // 7 reference arrays
    &callGroup<&VirtualMachine::stringNative>,       // 8
    &callGroup<&VirtualMachine::byteNative>,         // 9
    &callGroup<&VirtualMachine::charNative>,         // 10
    &callGroup<&VirtualMachine::fixedNative>,        // 11
    &callGroup<&VirtualMachine::longNative>,         // 12
    &callGroup<&VirtualMachine::colorNative>,        // 13
    &callGroup<&VirtualMachine::rangeNative>,        // 14
    &callGroup<&VirtualMachine::sizeNative>,         // 15
    &callGroup<&VirtualMachine::positionNative>,     // 16
    &callGroup<&VirtualMachine::rectangleNative>,    // 17
    &callGroup<&VirtualMachine::graphicsNative>,     // 18
    &callGroup<&VirtualMachine::bitmapNative>,       // 19
    &callGroup<&VirtualMachine::fontNative>,         // 20
    &callGroup<&VirtualMachine::outputStreamNative>, // 21
    &callGroup<&VirtualMachine::fileWriterNative>,   // 22
    &callGroup<&VirtualMachine::inputStreamNative>,  // 23
    &callGroup<&VirtualMachine::fileReaderNative>,   // 24
    &callGroup<&VirtualMachine::fileSystemNative>,   // 25
    &callGroup<&VirtualMachine::mathNative>,         // 26
    &callGroup<&VirtualMachine::numberNative>,       // 27
    &callGroup<&VirtualMachine::encoderNative>,      // 28
    &callGroup<&VirtualMachine::dateTimeNative>,     // 29
    &callGroup<&VirtualMachine::debugNative>,        // 30
    &callGroup<&VirtualMachine::screenNative>,       // 31
    &callGroup<&VirtualMachine::systemNative>,       // 32
    &callGroup<&VirtualMachine::timerNative>,        // 33
    &callGroup<&VirtualMachine::hashNative>,         // 34
    &callGroup<&VirtualMachine::keyEventNative>,     // 35
    &callGroup<&VirtualMachine::floatNative>,        // 36
};

} // namespace

void VirtualMachine::dispatchNative(int group, int operation)
{
    if (group < 0 || group >= static_cast<int>(kGroups.size()) || !kGroups[group]) [[unlikely]]
        fatalError("Internal error: invalid group in native call: " + std::to_string(group), m_pc);
    kGroups[group](*this, operation);
}

void VirtualMachine::unknownOperation(const char* prefix)
{
    throwError(kVMException, std::string(prefix) + std::to_string(m_pc));
}

void VirtualMachine::unknownOperation(const char* prefix, int operation)
{
    throwError(kVMException, std::string(prefix) + std::to_string(operation));
}

FrameworkServices& VirtualMachine::requireHost()
{
    if (!m_host) raiseFatal("no host services are available to this machine");
    return *m_host;
}

} // namespace zelmo
