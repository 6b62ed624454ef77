// SPDX-License-Identifier: MIT
// Group 23, InputStream: reading bytes from a holder's stream, asking whether it is open, and
// closing it (the holder stays; its stream answers "not open" from then on).
#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/StreamHolder.h"

#include <vector>

namespace zelmo {

void VirtualMachine::inputStreamNative(int operation)
{
    switch (operation) {
    case 1: { // close(holder field)
        if (const uint32_t holder = StreamHolder::fromField(*this, argU(0)))
            StreamHolder::close(*this, holder);
        popWords(1);
        return;
    }
    case 2: { // isOpen(holder field)
        const uint32_t holder = StreamHolder::fromField(*this, argU(0));
        arg(0) = holder != 0 && StreamHolder::isOpen(*this, holder) ? -1 : 0;
        return;
    }
    case 3: { // readBytes(holder field, count)
        const int32_t count = arg(0);
        if (count < 0) throwError(kInvalidArgument, "The number of bytes should be non-negative");
        const uint32_t holder = StreamHolder::fromField(*this, argU(1));
        if (holder == 0) throwError(kIO, "File is not open");
        TARNEL::InputStream* stream = StreamHolder::getInputStream(*this, holder);
        if (!stream || !stream->isOpen()) throwError(kIO, "File is not open");
        // Ask for no more room than the file can fill: the count comes from the application.
        if (int64_t{stream->size()} - stream->position() < count) throwError(kIO);
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        if (count > 0 && !stream->read(bytes.data(), static_cast<uint32_t>(count))) throwError(kIO);
        arg(1) = static_cast<int32_t>(newByteArray(bytes.data(), bytes.size()));
        popWords(1);
        return;
    }
    default:
        unknownOperation("InputStream:");
    }
}

} // namespace zelmo
