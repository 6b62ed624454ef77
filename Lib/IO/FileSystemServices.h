// SPDX-License-Identifier: MIT
// The file services of the host, slots 2 to 12 of the host services. They live beside the streams
// they hand out so that the I/O library implements them (HostFileServices) without knowing the
// machine. Paths are application paths: the implementation checks them and maps them below the
// application's own directory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelmo {

namespace TARNEL {
class InputStream;
class OutputStream;
} // namespace TARNEL

class FileSystemServices {
public:
    virtual ~FileSystemServices() = default;
    /* 2 */ virtual std::unique_ptr<TARNEL::OutputStream> openFileWriter(const std::u16string& path,
                                                                         int32_t flag) = 0;
    /* 3 */ virtual std::unique_ptr<TARNEL::InputStream>
    openFileReader(const std::u16string& path) = 0;
    /* 4 */ virtual bool deleteFile(const std::u16string& path) = 0;
    /* 5 */ virtual bool fileExists(const std::u16string& path) = 0;
    /* 6 */ virtual int32_t reservedFileService() = 0;
    /* 7 */ virtual bool renameFile(const std::u16string& from, const std::u16string& to) = 0;
    /* 8 */ virtual bool listDirectory(const std::u16string& path,
                                       std::vector<std::u16string>& files,
                                       std::vector<std::u16string>& directories, int32_t flag) = 0;
    /* 9 */ virtual bool createDirectory(const std::u16string& path) = 0;
    /* 10 */ virtual bool deleteDirectory(const std::u16string& path) = 0;
    /* 11 */ virtual bool renameDirectory(const std::u16string& from, const std::u16string& to) = 0;
    /* 12 */ virtual bool directoryExists(const std::u16string& path) = 0;
};

} // namespace zelmo
