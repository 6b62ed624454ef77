// SPDX-License-Identifier: MIT
// The managed block through which reader and writer objects of the application hold an open
// stream: a GC_CODE_STREAM_HOLDER entry of two words, the type id and the ObjectTable index of
// the CAppsFileReader or CAppsFileWriter that owns the stream. Releasing the entry destroys
// that wrapper, which closes the file. Every lookup checks the type id and the object's type,
// so a forged word can raise an error but never reach the wrong host object.
#pragma once

#include <cstdint>
#include <memory>

namespace zelmo {

class VirtualMachine;

namespace TARNEL {
class CAppsFileReader;
class CAppsFileWriter;
class InputStream;
class OutputStream;
} // namespace TARNEL

class StreamHolder {
public:
    static constexpr int32_t FILE_READER_TYPE_ID = 5;
    static constexpr int32_t FILE_WRITER_TYPE_ID = 6;

    static uint32_t create(VirtualMachine& vm, std::unique_ptr<TARNEL::CAppsFileReader> reader);
    static uint32_t create(VirtualMachine& vm, std::unique_ptr<TARNEL::CAppsFileWriter> writer);

    // The holder in the field at `fieldAddress`: 0 when there is none; a null address raises
    // "NULL pointer".
    static uint32_t fromField(VirtualMachine& vm, uint32_t fieldAddress);
    static int32_t typeId(VirtualMachine& vm, uint32_t holder);

    // The stream of a reader (type 5), respectively writer (type 6), holder; another type id
    // raises VMException "Invalid TYPEID".
    static TARNEL::InputStream* getInputStream(VirtualMachine& vm, uint32_t holder);
    static TARNEL::OutputStream* getOutputStream(VirtualMachine& vm, uint32_t holder);

    // For either kind of holder: whether its stream is open, and closing it. close() answers
    // whether everything written before was delivered (always true for a reader).
    static bool isOpen(VirtualMachine& vm, uint32_t holder);
    static bool close(VirtualMachine& vm, uint32_t holder);
};

} // namespace zelmo
