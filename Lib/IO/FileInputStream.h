// SPDX-License-Identifier: MIT
// An input stream over a file, read through the C library's buffered I/O. Offsets are ints as
// in the rest of the stream library; a file too large for them reports failure instead.
#pragma once

#include "IO/Stream.h"

#include <cstdio>
#include <string>

namespace zelmo::TARNEL {

class FileInputStream : public InputStream {
public:
    FileInputStream() = default;
    ~FileInputStream() override { close(); }
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;

    // Opens the file read-only; a directory or a name with a NUL unit does not open.
    bool open(const std::u16string& path);
    // The same with the platform file name itself, for callers that have checked that name.
    bool openEncoded(const std::string& name);

    int readByte() override;
    bool read(TUint8* buf, TUint32 n) override;
    int size() override;
    int position() override;
    bool seek(TUint32 pos) override;
    bool isEof() override;
    void close() override;

private:
    std::FILE* m_file = nullptr;
};

} // namespace zelmo::TARNEL
