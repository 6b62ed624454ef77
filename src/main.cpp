// SPDX-License-Identifier: MIT
// zelmo-vm: runs the application image index.mcb of an application directory.
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"
#include "host/Runtime.h"

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
    if (options.help) {
        std::fputs(runtimeUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("zelmo-vm %s\n", ZELMO_VERSION);
        return 0;
    }
    qDebug("starting main");
#ifdef ZELMO_GRAPHICS
    // Bitmaps and fonts need a GUI application; without a display, Qt's offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    graphics::registerGraphicsNatives();
#else
    QCoreApplication app(argc, argv);
#endif
    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
    if (!options.headless)
        std::fputs("zelmo-vm: this build has no window support yet; running headless\n", stderr);

    int status = 0;
    {
        HostServices host(directory.toStdU16String());
        try {
            status = startApplication(host);
            // Headless, only a timer can wake the application: it ends when it exits or when
            // no timer is left, checked after start-up and after every timer event.
            Scheduler& scheduler = host.scheduler();
            if (status < 0 && scheduler.timerCount() == 0) status = 0;
            if (status < 0) {
                scheduler.setDeliveryObserver([&scheduler] {
                    if (!applicationEnded() && scheduler.timerCount() == 0)
                        QCoreApplication::exit(0);
                });
                status = app.exec();
                if (applicationEnded()) status = applicationExitStatus();
            }
        } catch (const ErrorHandlingException&) {
            std::fprintf(stderr, "FATAL: %s\n", toUtf8(lastErrorText()).c_str());
            status = 1;
        }
        // Release every object (closing and flushing files) while the host still exists.
        VirtualMachine::destroyCurrent();
    }
    return status;
}
