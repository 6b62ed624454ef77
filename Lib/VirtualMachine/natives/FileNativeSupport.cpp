// SPDX-License-Identifier: MIT
#include "VirtualMachine/natives/FileNativeSupport.h"

#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/StreamHolder.h"

namespace zelmo::FileNatives {

namespace {

template <class S> void streamQuery(VirtualMachine& vm, int operation, S* stream)
{
    if (!stream || !stream->isOpen()) throwError(kIO, "File is not open");
    switch (operation) {
    case 2:
        if (!stream->seek(static_cast<uint32_t>(vm.arg(0)))) throwError(kIO);
        vm.popWords(2);
        return;
    case 3:
        vm.arg(0) = stream->position();
        return;
    default:
        vm.arg(0) = stream->size();
        return;
    }
}

} // namespace

std::u16string stringArg(VirtualMachine& vm, int k)
{
    return vm.stringOf(vm.argU(k)).toU16();
}

void seekPositionOrSize(VirtualMachine& vm, int operation, int32_t typeId)
{
    const int fieldArg = operation == 2 ? 1 : 0;
    if (operation == 2 && vm.arg(0) < 0)
        throwError(kInvalidArgument, "Position is less than zero: " + std::to_string(vm.arg(0)));
    const uint32_t holder = StreamHolder::fromField(vm, vm.argU(fieldArg));
    if (holder == 0) throwError(kIO, "File is not open");
    if (typeId == StreamHolder::FILE_READER_TYPE_ID)
        streamQuery(vm, operation, StreamHolder::getInputStream(vm, holder));
    else
        streamQuery(vm, operation, StreamHolder::getOutputStream(vm, holder));
}

int32_t checkedRangeCount(int32_t first, int32_t count, int32_t length)
{
    const std::string f = std::to_string(first);
    if (count == 0) {
        if (first < 0)
            throwError(kRange, "Invalid Range, first should be non-negative (first=" + f + ")");
        return 0;
    }
    if (count > 0) {
        if (first < 0)
            throwError(kRange, "Invalid Range, first should not be less than0, first =  " + f);
        const int64_t end = int64_t{first} + count; // cannot wrap in 64 bits
        if (end > length)
            throwError(kRange, "Invalid Range, range out of bounds: " + std::to_string(end) +
                                   " > " + std::to_string(length));
        return count;
    }
    if (first < 0)
        throwError(kRange, "Invalid Range, first should not be less than 0, first = " + f);
    if (first > length)
        throwError(kRange, "Invalid Range, first should not be more than " +
                               std::to_string(length) + ", first = " + f);
    return length - first;
}

} // namespace zelmo::FileNatives
