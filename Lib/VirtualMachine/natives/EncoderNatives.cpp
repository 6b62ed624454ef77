// SPDX-License-Identifier: MIT
// Group 28, Encoder: UTF-8 between strings and byte arrays. Encoding goes code unit by code
// unit; decoding accepts only well-formed input (RFC 3629's lead and second bytes) and turns
// four-byte sequences into surrogate pairs, so text from outside keeps its characters.
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

void VirtualMachine::encoderNative(int operation)
{
    switch (operation) {
    case 1: { // encodeUtf8(string) -> new byte array
        const std::vector<uint8_t> bytes = stringOf(argU(0)).toUtf8();
        arg(0) = static_cast<int32_t>(newByteArray(bytes.data(), bytes.size()));
        return;
    }
    case 2: { // decodeUtf8(byte array) -> new string
        const std::vector<uint8_t> bytes = arrayBytes(argU(0));
        const std::optional<OString> text = OString::fromUtf8(bytes.data(), bytes.size());
        if (!text) throwError(kDataFormat);
        arg(0) = static_cast<int32_t>(newString(*text));
        return;
    }
    default:
        unknownOperation("Encoder:");
    }
}

} // namespace zelmo
