// SPDX-License-Identifier: MIT
#include "VirtualMachine/natives/StreamHolder.h"

#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

namespace {

uint32_t makeHolder(VirtualMachine& vm, int32_t typeId, std::unique_ptr<GCObject> owner)
{
    const uint32_t holder = vm.heap().allocate(8, 0, GC_CODE_STREAM_HOLDER);
    uint32_t index = 0;
    try {
        index = vm.objects().add(std::move(owner));
    } catch (...) {
        vm.heap().release(holder); // word 1 is still 0: nothing to destroy
        throw;
    }
    vm.storeWord(holder, static_cast<uint32_t>(typeId));
    vm.storeWord(holder + 4, index);
    return holder;
}

[[noreturn]] void invalidTypeId()
{
    throwError(kVMException, "Invalid TYPEID");
}

} // namespace

uint32_t StreamHolder::create(VirtualMachine& vm, std::unique_ptr<TARNEL::CAppsFileReader> reader)
{
    return makeHolder(vm, FILE_READER_TYPE_ID, std::move(reader));
}

uint32_t StreamHolder::create(VirtualMachine& vm, std::unique_ptr<TARNEL::CAppsFileWriter> writer)
{
    return makeHolder(vm, FILE_WRITER_TYPE_ID, std::move(writer));
}

uint32_t StreamHolder::fromField(VirtualMachine& vm, uint32_t fieldAddress)
{
    return vm.loadWord(fieldAddress);
}

int32_t StreamHolder::typeId(VirtualMachine& vm, uint32_t holder)
{
    return static_cast<int32_t>(vm.loadWord(holder));
}

TARNEL::InputStream* StreamHolder::getInputStream(VirtualMachine& vm, uint32_t holder)
{
    if (typeId(vm, holder) != FILE_READER_TYPE_ID) invalidTypeId();
    return vm.objects().get<TARNEL::CAppsFileReader>(vm.loadWord(holder + 4)).stream();
}

TARNEL::OutputStream* StreamHolder::getOutputStream(VirtualMachine& vm, uint32_t holder)
{
    if (typeId(vm, holder) != FILE_WRITER_TYPE_ID) invalidTypeId();
    return vm.objects().get<TARNEL::CAppsFileWriter>(vm.loadWord(holder + 4)).stream();
}

bool StreamHolder::isOpen(VirtualMachine& vm, uint32_t holder)
{
    switch (typeId(vm, holder)) {
    case FILE_READER_TYPE_ID: {
        const TARNEL::InputStream* stream = getInputStream(vm, holder);
        return stream && stream->isOpen();
    }
    case FILE_WRITER_TYPE_ID: {
        const TARNEL::OutputStream* stream = getOutputStream(vm, holder);
        return stream && stream->isOpen();
    }
    default:
        invalidTypeId();
    }
}

bool StreamHolder::close(VirtualMachine& vm, uint32_t holder)
{
    switch (typeId(vm, holder)) {
    case FILE_READER_TYPE_ID:
        if (TARNEL::InputStream* stream = getInputStream(vm, holder)) stream->close();
        return true;
    case FILE_WRITER_TYPE_ID: {
        TARNEL::OutputStream* stream = getOutputStream(vm, holder);
        // Closing a closed writer has nothing left to deliver.
        return !stream || !stream->isOpen() || stream->closeChecked();
    }
    default:
        invalidTypeId();
    }
}

} // namespace zelmo
