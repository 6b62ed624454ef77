// SPDX-License-Identifier: MIT
#include "GuiRuntime.h"

#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/GuiExtensions.h"
#include "host/HeadlessScreenHost.h"
#include "host/InputScript.h"
#include "host/RunTimeout.h"
#include "host/RuntimeOptions.h"
#ifdef ZELMO_WINDOW
#include "window/WindowRun.h"
#endif
#ifdef ZELMO_GRAPHICS
#include "graphics/BitmapTextures.h"
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/GraphicsNatives.h"
#endif

#include "VirtualMachine/VirtualMachine.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace zelmo {

int runGuiRuntime(int argc, char** argv)
{
    const RuntimeOptions options = parseRuntimeOptions(argc, argv);
    std::string error;
    std::vector<ScriptedEvent> events;
    if (!options.inputScript.isEmpty()) events = readInputScript(options.inputScript, error);
    if (!options.usageError.empty() || !error.empty()) return 2; // zelmo-vm said why
#ifdef ZELMO_WINDOW
    if (!options.headless) return runWindowed(options, argc, argv, std::move(events));
#endif
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
    GuiExtensionSettings gui{{options.mute, options.volumePercent}, {}, {}};
#ifdef ZELMO_GRAPHICS
    gui.bitmapTextures = graphics::makeBitmapTextures;
#endif

    HeadlessScreenHost host(directory.toStdU16String(), options.screenshotPath, options.frames);
    registerExtensions(host, *extensions, gui);
    const int status = runHeadless(host, std::move(image), std::move(events));
    if (status == 0 && host.screenshotMissing()) {
        std::fprintf(stderr, "zelmo-vm: the application ended after %d of %d frames\n",
                     host.framesDrawn(), options.frames);
        return 1;
    }
    return status;
}

} // namespace zelmo

#ifdef ZELMO_GUI_MODULE
// The module's one exported symbol (kGuiModuleEntry); everything else in it is hidden.
extern "C" __attribute__((visibility("default"))) int zelmo_gui_runtime(int argc, char** argv)
{
    return zelmo::runGuiRuntime(argc, argv);
}
#endif
