// SPDX-License-Identifier: MIT
// Binds the groups the core implements to their group functions. Byte has no operations; the
// drawing groups (Color, Size, Position, Rectangle, Graphics, Bitmap, Font, Screen) are left to
// the window host. The lean build (ZELMO_WITHOUT_QT) binds neither the date-times nor the
// streams and files, whose code needs Qt; zelmo-vm sends an image that uses them to the full
// runtime.
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/NativeSites.h"
#include "VirtualMachine/VirtualMachine.h"

#include <mutex>

namespace zelmo {

namespace {

template <void (VirtualMachine::*F)(int)> void callGroup(VirtualMachine& vm, int operation)
{
    (vm.*F)(operation);
}

template <class TYPE, int SIZE, bool PRIMITIVE> void callVector(VirtualMachine& vm, int operation)
{
    vm.vectorNative<TYPE, SIZE>(operation, PRIMITIVE);
}

void bindCoreGroups()
{
    struct Binding {
        int group;
        NativeHandler handler;
    };
    const Binding bindings[] = {
        {1, &callVector<signed char, 1, true>},
        {3, &callVector<int, 1, true>},
        {4, &callVector<int, 2, true>},
        {5, &callVector<int, 3, true>},
        {6, &callVector<int, 4, true>},
        {7, &callVector<int, 1, false>},
        {8, &callGroup<&VirtualMachine::stringNative>},
        {10, &callGroup<&VirtualMachine::charNative>},
        {11, &callGroup<&VirtualMachine::fixedNative>},
        {12, &callGroup<&VirtualMachine::longNative>},
        {14, &callGroup<&VirtualMachine::rangeNative>},
#ifndef ZELMO_WITHOUT_QT
        {21, &callGroup<&VirtualMachine::outputStreamNative>},
        {22, &callGroup<&VirtualMachine::fileWriterNative>},
        {23, &callGroup<&VirtualMachine::inputStreamNative>},
        {24, &callGroup<&VirtualMachine::fileReaderNative>},
        {25, &callGroup<&VirtualMachine::fileSystemNative>},
#endif
        {26, &callGroup<&VirtualMachine::mathNative>},
        {27, &callGroup<&VirtualMachine::numberNative>},
        {28, &callGroup<&VirtualMachine::encoderNative>},
        {30, &callGroup<&VirtualMachine::debugNative>},
        {32, &callGroup<&VirtualMachine::systemNative>},
        {33, &callGroup<&VirtualMachine::timerNative>},
        {34, &callGroup<&VirtualMachine::hashNative>},
        {35, &callGroup<&VirtualMachine::keyEventNative>},
        {36, &callGroup<&VirtualMachine::floatNative>},
    };
    for (const Binding& b : bindings)
        bindNativeGroup(b.group, b.handler);
    bindArrayOperations();
    bindStringOperations();
#ifndef ZELMO_WITHOUT_QT
    bindDateTimeNatives();
#endif
}

} // namespace

void registerCoreNatives()
{
    static std::once_flag once;
    std::call_once(once, bindCoreGroups);
}

} // namespace zelmo
