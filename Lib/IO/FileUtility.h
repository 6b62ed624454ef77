// SPDX-License-Identifier: MIT
// Path helpers shared by the streams and the host's file services: separator conversion, the
// UTF-16 to platform file-name conversion, and thin wrappers over Qt's file information.
// Paths are UTF-16; an empty path never exists and has no parts.
#pragma once

#include <string>
#include <vector>

namespace zelmo::TARNEL {

class FileUtility {
public:
    // Every separator becomes the platform's ("/" here: backslashes become slashes).
    static std::u16string convertSeparators(const std::u16string& path);
    // The bytes the operating system gets for this path: UTF-8, as QFile::encodeName gives on
    // Linux. Never a per-unit truncation, which could turn harmless letters into "../".
    // Empty when the path holds a NUL unit: such a name cannot be passed to the system intact.
    static std::string encodeName(const std::u16string& path);
    static std::u16string decodeName(const std::string& name);

    static bool isAbsolute(const std::u16string& path);
    static bool directoryExists(const std::u16string& path);
    static bool fileExists(const std::u16string& path);
    // Creates the directory and all missing parents; only for a non-empty absolute path.
    static bool createPath(const std::u16string& path);
    // Removes an empty directory (never its contents, never through a symbolic link).
    static bool removeDirectory(const std::u16string& path);
    static std::u16string fileName(const std::u16string& path);
    // The text after the first dot of the file name.
    static std::u16string completeSuffix(const std::u16string& path);
    static std::u16string parentPath(const std::u16string& path);

    // The names of the plain files and of the sub-directories of a directory, symbolic links
    // excluded, each sorted by name. False when the path is not a readable directory.
    static bool listEntries(const std::u16string& path, std::vector<std::u16string>& files,
                            std::vector<std::u16string>& directories);
};

} // namespace zelmo::TARNEL
