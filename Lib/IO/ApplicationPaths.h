// SPDX-License-Identifier: MIT
// The application's view of the file system: every path it names is checked and mapped below
// its own directory, and nothing else is reachable. The check runs twice: on the UTF-16 text
// and again on the exact bytes that the operating system will be given.
#pragma once

#include <optional>
#include <string>

namespace zelmo {

struct MappedPath {
    std::u16string path; // absolute, below the base directory (or the base directory itself)
    std::string name;    // the bytes handed to the operating system for `path`
    bool isBase = false; // names the application directory itself
};

class ApplicationPaths {
public:
    explicit ApplicationPaths(const std::u16string& baseDirectory);

    const std::u16string& baseDirectory() const { return m_base; }

    // Not empty, and none of "..", ":", "|" or a NUL unit.
    static bool isGoodPath(std::u16string_view path);
    // Backslashes become slashes, empty and "." steps are dropped (so "//" collapses and a
    // leading slash does not make the path absolute), and the rest is joined below the base.
    std::optional<MappedPath> map(std::u16string_view path) const;

private:
    std::u16string m_base;
    std::string m_baseName;
};

} // namespace zelmo
