// SPDX-License-Identifier: MIT
// libFuzzer target: any UTF-16 text given as an application path. A path is refused or mapped
// strictly below the application's directory; traps on any mapping that escapes it.
#include "IO/ApplicationPaths.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

using namespace zelmo;

namespace {

bool escapes(const std::string& name, const std::string& base)
{
    if (name == base) return false;
    if (name.compare(0, base.size() + 1, base + "/") != 0) return true;
    // No step of what follows the base may climb out again.
    const std::string rest = "/" + name.substr(base.size() + 1) + "/";
    return rest.find("/../") != std::string::npos || rest.find("/./") != std::string::npos ||
           rest.find("//") != std::string::npos || name.find('\0') != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ApplicationPaths paths(u"/tmp/zelmo-fuzz/app");
    std::u16string path(size / 2, u'\0');
    std::memcpy(path.data(), data, path.size() * 2);
    const std::optional<MappedPath> mapped = paths.map(path);
    if (!mapped) return 0;
    if (!ApplicationPaths::isGoodPath(path)) __builtin_trap(); // a bad path was mapped
    if (escapes(mapped->name, "/tmp/zelmo-fuzz/app")) {
        std::fprintf(stderr, "escaping name: %s\n", mapped->name.c_str());
        __builtin_trap();
    }
    const std::u16string& text = mapped->path;
    const std::u16string base = u"/tmp/zelmo-fuzz/app";
    if (mapped->isBase != (text == base)) __builtin_trap();
    if (text != base && text.compare(0, base.size() + 1, base + u"/") != 0) __builtin_trap();
    return 0;
}
