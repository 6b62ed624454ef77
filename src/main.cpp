// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory.
#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/HostServices.h"
#include "host/RunTimeout.h"
#include "host/RuntimeOptions.h"
#ifdef ZELMO_WINDOW
#include "window/WindowRun.h"
#endif

#include <QCoreApplication>
#ifdef ZELMO_GRAPHICS
#include "graphics/natives/DrawingNatives.h"
#include <QGuiApplication>
#endif
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
#ifdef ZELMO_WINDOW
    if (!options.headless) return runWindowed(options, argc, argv);
#endif
#ifdef ZELMO_GRAPHICS
    // Bitmaps and fonts need a GUI application; without a display, Qt's offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    graphics::registerGraphicsNatives();
#else
    QCoreApplication app(argc, argv);
#endif
    armRunTimeout(options.timeoutSeconds);
    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
#ifndef ZELMO_WINDOW
    if (!options.headless)
        std::fputs("zelmo-vm: this build has no window support; running headless\n", stderr);
#endif

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
