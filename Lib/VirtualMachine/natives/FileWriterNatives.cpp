// SPDX-License-Identifier: MIT
// Group 22, FileWriter: opens a file for writing (empty, or keeping its bytes to append) into a
// stream holder, and seeks, tells the position and the size of the holder's stream.
#include "IO/CAppsFileWriter.h"
#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FileNativeSupport.h"
#include "VirtualMachine/natives/StreamHolder.h"

namespace zelmo {

void VirtualMachine::fileWriterNative(int operation)
{
    switch (operation) {
    case 1: { // open(holder field, file name, append)
        const uint32_t field = argU(2);
        const std::u16string name = FileNatives::stringArg(*this, 1);
        const bool append = arg(0) != 0;
        if (name.empty()) throwError(kInvalidArgument, "Filename is empty");
        StreamHolder::fromField(*this, field); // a null field fails before the file is opened
        std::unique_ptr<TARNEL::OutputStream> stream =
            requireHost().openFileWriter(name, append ? 0 : 1);
        if (!stream) throwError(kIO);
        storeWord(field, StreamHolder::create(*this, std::make_unique<TARNEL::CAppsFileWriter>(
                                                         std::move(stream), name)));
        popWords(3);
        return;
    }
    case 2: // seek(holder field, position)
    case 3: // position(holder field)
    case 4: // size(holder field)
        FileNatives::seekPositionOrSize(*this, operation, StreamHolder::FILE_WRITER_TYPE_ID);
        return;
    default:
        unknownOperation("FileWriter:");
    }
}

} // namespace zelmo
