// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory. A run without a
// window whose application needs nothing beyond Qt's core runs here; every other run goes to
// the runtime's GUI part (GuiRuntime.h), so that the common small run loads no GUI library.
#include "GuiRuntime.h"
#include "graphics/natives/GraphicsNatives.h"
#include "host/AppInstaller.h"
#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/HeadlessHost.h"
#include "host/HeadlessPlatform.h"
#include "host/InputScript.h"
#include "host/RunTimeout.h"
#include "host/RuntimeOptions.h"

#include "VirtualMachine/VirtualMachine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
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
    // Only a run without a window whose application reaches nothing beyond Qt's core stays
    // here; everything else goes to the GUI part, which reads the command line again.
    if (!options.headless) return runGuiRuntime(argc, argv);
    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
    std::unique_ptr<VirtualMachine> image =
        ApplicationSession::readImage(directory.toStdU16String());
    if (headlessNeedsGui(image.get(), !options.screenshotPath.isEmpty(),
                         &graphics::isGraphicsNative)) {
        image.reset();
        return runGuiRuntime(argc, argv);
    }
    // Nothing here needs GLib's main loop (the audio player's sound server does; it is in the
    // GUI part): Qt's own event dispatcher touches less of the loaded libraries.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    armRunTimeout(options.timeoutSeconds);
    const std::optional<ExtensionSettings> extensions = extensionSettings(options, error);
    if (!extensions) {
        std::fprintf(stderr, "zelmo-vm: %s\n", error.c_str());
        return 2;
    }
    HeadlessHost host(directory.toStdU16String());
    registerCoreExtensions(host, *extensions);
    return runHeadless(host, std::move(image), std::move(events));
}
