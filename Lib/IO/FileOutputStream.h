// SPDX-License-Identifier: MIT
// An output stream over a file, written through the C library's buffered I/O. Writes may sit
// in the buffer; flush() and closeChecked() tell whether they reached the operating system.
#pragma once

#include "IO/Stream.h"

#include <cstdio>
#include <string>

namespace zelmo::TARNEL {

class FileOutputStream : public OutputStream {
public:
    enum class Mode {
        Truncate,     // an empty file: created, or emptied when it exists
        KeepContents, // the existing bytes stay; writing starts after them
    };

    FileOutputStream() = default;
    ~FileOutputStream() override { close(); }
    FileOutputStream(const FileOutputStream&) = delete;
    FileOutputStream& operator=(const FileOutputStream&) = delete;

    // The path must be absolute; missing parent directories are created first.
    bool open(const std::u16string& path, Mode mode = Mode::Truncate);
    // The same with the platform file name itself, for callers that have checked that name.
    bool openEncoded(const std::string& name, Mode mode = Mode::Truncate);

    bool writeByte(TUint8 b) override;
    bool write(const TUint8* buf, TUint32 n) override;
    int size() override;
    int position() override;
    bool seek(TUint32 pos) override;
    bool flush() override;
    bool closeChecked() override;
    void close() override { closeChecked(); }

private:
    std::FILE* m_file = nullptr;
};

} // namespace zelmo::TARNEL
