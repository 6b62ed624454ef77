// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory.
#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/HostServices.h"
#include "host/RuntimeOptions.h"

#include <QCoreApplication>
#include <QDebug>
#include <cstdio>

using namespace zelmo;

int main(int argc, char** argv)
{
    const RuntimeOptions options = parseRuntimeOptions(argc, argv);
    if (!options.usageError.empty()) {
        std::fprintf(stderr, "zelmo-vm: %s\n", options.usageError.c_str());
        std::fputs(runtimeUsage().toLocal8Bit().constData(), stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(runtimeUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("zelmo-vm %s\n", ZELMO_VERSION);
        return 0;
    }
    qDebug("starting main");
    QCoreApplication app(argc, argv);
    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
    if (!options.headless)
        std::fputs("zelmo-vm: this build has no window support yet; running headless\n", stderr);

    const std::optional<ExtensionSettings> extensions = extensionSettings(options, error);
    if (!extensions) {
        std::fprintf(stderr, "zelmo-vm: %s\n", error.c_str());
        return 2;
    }

    HostServices host(directory.toStdU16String());
    registerExtensions(host, *extensions);
    ApplicationSession session(host);
    return session.runHeadless();
}
