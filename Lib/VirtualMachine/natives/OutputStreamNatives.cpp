// SPDX-License-Identifier: MIT
// Group 21, OutputStream: writing bytes to a holder's stream, asking whether it is open, and
// closing it. Every write is handed to the operating system at once, and closing checks that
// all of it arrived, so a full disk is an IOException, never a silently short file.
#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FileNativeSupport.h"
#include "VirtualMachine/natives/StreamHolder.h"

#include <vector>

namespace zelmo {

namespace {

void writeOrFail(TARNEL::OutputStream* stream, const uint8_t* bytes, uint32_t count)
{
    if (!stream || !stream->write(bytes, count) || !stream->flush()) throwError(kIO);
}

} // namespace

void VirtualMachine::outputStreamNative(int operation)
{
    switch (operation) {
    case 1: { // close(holder field)
        const uint32_t holder = StreamHolder::fromField(*this, argU(0));
        if (holder != 0 && !StreamHolder::close(*this, holder)) throwError(kIO);
        popWords(1);
        return;
    }
    case 2: { // isOpen(holder field)
        const uint32_t holder = StreamHolder::fromField(*this, argU(0));
        arg(0) = holder != 0 && StreamHolder::isOpen(*this, holder) ? -1 : 0;
        return;
    }
    case 3: { // writeBytes(holder field, bytes)
        const uint32_t holder = StreamHolder::fromField(*this, argU(1));
        if (holder == 0) throwError(kIO, "File is not open");
        TARNEL::OutputStream* stream = StreamHolder::getOutputStream(*this, holder);
        const std::vector<uint8_t> bytes = arrayBytes(argU(0));
        // Nothing to write is done without asking the stream, open or not.
        if (!bytes.empty()) writeOrFail(stream, bytes.data(), static_cast<uint32_t>(bytes.size()));
        popWords(2);
        return;
    }
    case 4: { // writeRange(holder field, offset, count, bytes)
        const uint32_t holder = StreamHolder::fromField(*this, argU(3));
        if (holder == 0) throwError(kIO, "File is not open");
        const std::vector<uint8_t> bytes = arrayBytes(argU(0));
        const int32_t offset = arg(2);
        const int32_t count =
            FileNatives::checkedRangeCount(offset, arg(1), static_cast<int32_t>(bytes.size()));
        TARNEL::OutputStream* stream = StreamHolder::getOutputStream(*this, holder);
        if (!stream || !stream->isOpen()) throwError(kIO, "File is not open");
        if (count > 0) writeOrFail(stream, bytes.data() + offset, static_cast<uint32_t>(count));
        popWords(4);
        return;
    }
    default:
        unknownOperation("OutputStream:");
    }
}

} // namespace zelmo
