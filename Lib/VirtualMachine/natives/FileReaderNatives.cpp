// SPDX-License-Identifier: MIT
// Group 24, FileReader: opens a file for reading into a stream holder, and seeks, tells the
// position and the size of the holder's stream.
#include "IO/CAppsFileReader.h"
#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FileNativeSupport.h"
#include "VirtualMachine/natives/StreamHolder.h"

namespace zelmo {

void VirtualMachine::fileReaderNative(int operation)
{
    switch (operation) {
    case 1: { // open(holder field, file name)
        const uint32_t field = argU(1);
        const std::u16string name = FileNatives::stringArg(*this, 0);
        if (name.empty()) throwError(kInvalidArgument, "Filename is empty");
        StreamHolder::fromField(*this, field); // a null field fails before the file is opened
        std::unique_ptr<TARNEL::InputStream> stream = requireHost().openFileReader(name);
        if (!stream) throwError(kIO, u"Could not open file: " + name);
        // The previous holder, if any, is left to the collector, which closes its stream.
        storeWord(field, StreamHolder::create(*this, std::make_unique<TARNEL::CAppsFileReader>(
                                                         std::move(stream), name)));
        popWords(2);
        return;
    }
    case 2: // seek(holder field, position)
    case 3: // position(holder field)
    case 4: // size(holder field)
        FileNatives::seekPositionOrSize(*this, operation, StreamHolder::FILE_READER_TYPE_ID);
        return;
    default:
        unknownOperation("FileReader:");
    }
}

} // namespace zelmo
