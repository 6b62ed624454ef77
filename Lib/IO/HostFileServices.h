// SPDX-License-Identifier: MIT
// The host's file services and the log file's part of logging, shared by the windowed and the
// headless front-ends. Every path is an application path: checked and mapped below the application
// directory by ApplicationPaths; a bad path fails without touching the file system.
//
// A read-only application directory (installed below a system prefix) still works: writes go to
// the application's data folder (ApplicationDataFolder.h) instead, which reads consult first;
// listings show both. Nothing is ever written into the read-only directory, and its own files
// can be neither deleted nor renamed (deleting the written copy of one shows the original again).
#pragma once

#include "IO/ApplicationPaths.h"
#include "IO/FileSystemServices.h"
#include "IO/Stream.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelmo {

class HostFileServices : public FileSystemServices {
public:
    explicit HostFileServices(const std::u16string& baseDirectory);
    ~HostFileServices() override;

    const std::u16string& baseDirectory() const { return m_paths.baseDirectory(); }

    // Flag 1 starts an empty file; any other value keeps the old bytes, with the position at
    // their end, so that new writes follow them.
    std::unique_ptr<TARNEL::OutputStream> openFileWriter(const std::u16string& path,
                                                         int32_t flag) override;
    std::unique_ptr<TARNEL::InputStream> openFileReader(const std::u16string& path) override;
    bool deleteFile(const std::u16string& path) override;
    bool fileExists(const std::u16string& path) override;
    int32_t reservedFileService() override { return 0; }
    // Creates the target's directory first when needed; never replaces an existing target.
    bool renameFile(const std::u16string& from, const std::u16string& to) override;
    // Plain files and sub-directories, symbolic links excluded, each sorted by name. The flag
    // is not used.
    bool listDirectory(const std::u16string& path, std::vector<std::u16string>& files,
                       std::vector<std::u16string>& directories, int32_t flag) override;
    bool createDirectory(const std::u16string& path) override;
    // Removes an empty directory.
    bool deleteDirectory(const std::u16string& path) override;
    bool renameDirectory(const std::u16string& from, const std::u16string& to) override;
    bool directoryExists(const std::u16string& path) override;

    // An empty path closes the log file (true). A bad path fails and keeps the current one.
    // Otherwise the current log is closed and the file is started empty; the open result.
    bool setLogFile(const std::u16string& path);
    bool hasLogFile() const { return m_log != nullptr; }
    // "LOG: " + text as UTF-8 + "\n" into the log file, flushed so that a crash keeps it.
    // Nothing for empty text or without a log file; false when the write fails.
    bool logLine(const std::u16string& text);

    // Where writes go when the application directory is read-only; empty otherwise.
    const std::optional<ApplicationPaths>& dataFolder() const { return m_overlay; }

private:
    std::optional<MappedPath> mapWrite(std::u16string_view path) const;
    std::optional<MappedPath> mapRead(std::u16string_view path) const;
    // With a data folder: whether the read-only directory holds something at `path`.
    bool installedHas(std::u16string_view path) const;

    ApplicationPaths m_paths;
    std::optional<ApplicationPaths> m_overlay;
    std::unique_ptr<TARNEL::OutputStream> m_log;
};

} // namespace zelmo
