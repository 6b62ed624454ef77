// SPDX-License-Identifier: MIT
// Helpers for tests that run assembled images on a machine: a host that records log lines and
// can react to them (to re-enter the machine while it runs), image loading from source, and
// runs of a main written in one line.
#pragma once

#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"
#include "image/Assembler.h"

#include <gtest/gtest.h>

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

// The source of an image whose main runs `code` ('|' separates lines; after "@@" come
// directives and functions), then `tail`; `frame` describes main's frame when it is given.
inline std::string mainSource(const std::string& code, const std::string& tail,
                              const std::string& frame = "")
{
    const auto lines = [](const std::string& text) {
        std::string out;
        for (char c : text)
            out += c == '|' ? '\n' : c;
        return out + "\n";
    };
    const size_t split = code.find("@@");
    const std::string head = frame.empty() ? "" : ".frame mf " + frame + "\n";
    return head + ".function @main main" + (frame.empty() ? "" : " info=mf") + "\nmain:\n" +
           lines(code.substr(0, split)) + tail +
           (split == std::string::npos ? "" : lines(code.substr(split + 2)));
}

struct MainRun {
    std::vector<std::string> lines; // what main logged
    int32_t outcome = 0;            // -2 when the invocation ended as fatal
    std::string err;                // standard error
};

// Runs main of `source` on a fresh machine, with the image's vminternalthrow when it has one.
// `onLog` sees the machine and the lines so far at every log line, while main runs.
inline MainRun
runMain(const std::string& source,
        const std::function<void(VirtualMachine&, const std::vector<std::string>&)>& onLog = {})
{
    VirtualMachine vm;
    RecordingHost host;
    if (onLog) host.onLog = [&](const std::string&) { onLog(vm, host.lines); };
    const int32_t module = loadImage(vm, source, &host);
    const int32_t main = vm.registerMethod(u"main", module);
    vm.internalThrowHandle = vm.registerMethod(u"vminternalthrow<int>,<string>", module);
    MainRun run;
    ::testing::internal::CaptureStderr();
    try {
        vm.invoke(main, {}, {}, -1);
    } catch (const InvocationOutcome& end) {
        run.outcome = end.value;
    }
    run.err = ::testing::internal::GetCapturedStderr();
    run.lines = host.lines;
    return run;
}

} // namespace zelmo::testing
