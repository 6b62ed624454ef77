// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory.
#include "host/AppInstaller.h"
#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/HeadlessHost.h"
#include "host/HeadlessPlatform.h"
#include "host/HostServices.h"
#include "host/InputScript.h"
#include "host/RunTimeout.h"
#include "host/RuntimeOptions.h"
#ifdef ZELMO_WINDOW
#include "window/WindowRun.h"
#endif
#ifdef ZELMO_GRAPHICS
#include "graphics/BitmapTextures.h"
#include "graphics/natives/DrawingNatives.h"
#endif

#include "VirtualMachine/VirtualMachine.h"

#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

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
    if (!options.installApp.isEmpty() || !options.uninstallApp.isEmpty()) {
        QString report;
        bool done = true;
        if (!options.installApp.isEmpty()) {
            // The entry starts this very runtime, found the way the shell found it.
            QString runtime = options.programPath;
            if (!runtime.contains(u'/')) runtime = QStandardPaths::findExecutable(runtime);
            runtime = QFileInfo(runtime).absoluteFilePath();
            done = installApplication(options.installApp, runtime, report);
        } else {
            done = uninstallApplication(options.uninstallApp, report);
        }
        std::fprintf(done ? stdout : stderr, "%s\n", report.toLocal8Bit().constData());
        return done ? 0 : 1;
    }
    std::vector<ScriptedEvent> events;
    if (!options.inputScript.isEmpty()) {
        std::string error;
        events = readInputScript(options.inputScript, error);
        if (!error.empty()) {
            std::fprintf(stderr, "zelmo-vm: %s\n", error.c_str());
            return 2;
        }
    }
    qDebug("starting main");
#ifdef ZELMO_WINDOW
    if (!options.headless) return runWindowed(options, argc, argv, std::move(events));
#endif
    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
    // Bitmaps, fonts and OpenGL need a GUI application, here without a window; an application
    // that never draws runs on Qt's core alone, without loading any platform.
    GuiNativePredicate needsGui = nullptr;
#ifdef ZELMO_GRAPHICS
    graphics::registerGraphicsNatives();
    needsGui = &graphics::isGraphicsNative;
#endif
    std::unique_ptr<VirtualMachine> image =
        ApplicationSession::readImage(directory.toStdU16String());
    const HeadlessGraphics graphics =
        headlessGraphicsNeeded(image.get(), !options.screenshotPath.isEmpty(), needsGui);
    chooseHeadlessPlatform(graphics);
    const std::unique_ptr<QCoreApplication> app =
        graphics == HeadlessGraphics::None ? std::make_unique<QCoreApplication>(argc, argv)
                                           : std::make_unique<QGuiApplication>(argc, argv);
    armRunTimeout(options.timeoutSeconds);
#ifndef ZELMO_WINDOW
    if (!options.headless)
        std::fputs("zelmo-vm: this build has no window support; running headless\n", stderr);
#endif

    std::optional<ExtensionSettings> extensions = extensionSettings(options, error);
    if (!extensions) {
        std::fprintf(stderr, "zelmo-vm: %s\n", error.c_str());
        return 2;
    }
#ifdef ZELMO_GRAPHICS
    extensions->bitmapTextures = graphics::makeBitmapTextures;
#endif

    HeadlessHost host(directory.toStdU16String(), options.screenshotPath, options.frames);
    registerExtensions(host, *extensions);
    ApplicationSession session(host, std::move(image));
    InputPlayer input(session, std::move(events));
    input.start();
    // The first frame, as a window draws one when it is first shown.
    host.invalidate(0, 0, 800, 480);
    const int status = session.runHeadless();
    if (status == 0 && host.screenshotMissing()) {
        std::fprintf(stderr, "zelmo-vm: the application ended after %d of %d frames\n",
                     host.framesDrawn(), options.frames);
        return 1;
    }
    return status;
}
