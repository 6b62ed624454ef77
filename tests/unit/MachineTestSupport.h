// SPDX-License-Identifier: MIT
// Helpers for tests that run assembled images on a machine: a host that records log lines and
// can react to them (to re-enter the machine while it runs), and image loading from source.
#pragma once

#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"
#include "image/Assembler.h"

#include <functional>
#include <string>
#include <vector>

namespace zelmo::testing {

class RecordingHost : public HostServices {
public:
    RecordingHost() : HostServices(u"/nonexistent") {}
    void log(const std::u16string& text) override
    {
        lines.push_back(toUtf8(text));
        if (onLog) onLog(lines.back());
    }
    std::vector<std::string> lines;
    std::function<void(const std::string&)> onLog;
};

// Assembles `source` and merges it into the machine (without running anything).
inline int32_t loadImage(VirtualMachine& vm, const std::string& source, FrameworkServices* host,
                         const std::u16string& name = u"index.mcb")
{
    const std::vector<uint8_t> bytes = image::assembleToBytes(source, "test.asm");
    TARNEL::MemoryInputStream stream(bytes);
    int32_t moduleIndex = -1;
    vm.setHost(host);
    if (vm.readBytecode(name, stream, moduleIndex) != 1)
        throw std::runtime_error("image did not load");
    return moduleIndex;
}

} // namespace zelmo::testing
