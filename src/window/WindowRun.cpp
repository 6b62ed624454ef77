// SPDX-License-Identifier: MIT
#include "window/WindowRun.h"

#include "Accelerometer/TiltKeys.h"
#include "graphics/BitmapTextures.h"
#include "graphics/natives/DrawingNatives.h"
#include "host/ApplicationSession.h"
#include "host/ExtensionSetup.h"
#include "host/GuiExtensions.h"
#include "host/RunTimeout.h"
#include "host/RuntimeOptions.h"
#include "window/MainView.h"
#include "window/QtClientApplication.h"

#include <QDBusConnection>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <cstdio>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace zelmo {

namespace {
// Qt aborts when it cannot reach a display; say what is missing instead. The test connection
// stays open until Qt has its own: an X server whose last client leaves resets and refuses
// connections for a moment.
class DisplayCheck {
public:
    DisplayCheck()
    {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (!platform.isEmpty() && !platform.startsWith("xcb")) return; // the user's choice
        if (platform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            m_available = false;
            return;
        }
        m_connection = xcb_connect(nullptr, nullptr);
        m_available = !xcb_connection_has_error(m_connection);
    }
    ~DisplayCheck()
    {
        if (m_connection) xcb_disconnect(m_connection);
    }
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
    bool available() const { return m_available; }

private:
    xcb_connection_t* m_connection = nullptr;
    bool m_available = true;
};

// Double buffer, depth 24 and stencil 8 with OpenGL ES 2.0, which applications were written
// for; desktop OpenGL (which runs the same ES 2.0 calls) where ES contexts cannot be made.
std::optional<QSurfaceFormat> chooseSurfaceFormat()
{
    QSurfaceFormat format;
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    for (const auto type : {QSurfaceFormat::OpenGLES, QSurfaceFormat::OpenGL}) {
        format.setRenderableType(type);
        format.setVersion(2, 0);
        QOpenGLContext probe;
        probe.setFormat(format);
        if (probe.create() && probe.isValid()) return format;
    }
    return std::nullopt;
}

void connectDisplayState(MainView& view)
{
    const bool connected = QDBusConnection::systemBus().connect(
        QStringLiteral("com.nokia.mce"), QStringLiteral("/com/nokia/mce/signal"),
        QStringLiteral("com.nokia.mce.signal"), QStringLiteral("display_status_ind"), &view,
        SLOT(displaySignal(QString)));
    if (!connected) std::fputs("FATAL: Failed to connect to dbus\n", stderr);
}
} // namespace

int runWindowed(const RuntimeOptions& options, int& argc, char** argv,
                std::vector<ScriptedEvent> events)
{
    auto display = std::make_unique<DisplayCheck>();
    if (!display->available()) {
        std::fputs("FATAL: no display (set DISPLAY or use --headless)\n", stderr);
        return 1;
    }
    QtClientApplication app(argc, argv);
    display.reset();
    graphics::registerGraphicsNatives();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zelmo.Runtime"));
    armRunTimeout(options.timeoutSeconds);

    std::string error;
    const QString directory = chooseApplicationDirectory(options, error);
    if (directory.isEmpty()) {
        std::fputs(error.c_str(), stderr);
        return 1;
    }
    const std::optional<QSurfaceFormat> format = chooseSurfaceFormat();
    if (!format) {
        std::fputs("FATAL: no OpenGL context could be created\n", stderr);
        return 1;
    }
    // The window's own compositing context shares with the view's: same kind of GL for both.
    QSurfaceFormat::setDefaultFormat(*format);

    std::optional<ExtensionSettings> extensions = extensionSettings(options, error);
    if (!extensions) {
        std::fprintf(stderr, "zelmo-vm: %s\n", error.c_str());
        return 2;
    }

    MainView view(directory.toStdU16String(), options);
    view.setFormat(*format);
    registerExtensions(view, *extensions,
                       {{options.mute, options.volumePercent},
                        graphics::makeBitmapTextures,
                        [&view] { view.showMinimized(); }});
    // Ctrl+arrows tilt the virtual accelerometer; they are the runtime's, like F11 and F12.
    view.setRuntimeKeyFilter([pose = extensions->pose](int key, Qt::KeyboardModifiers modifiers) {
        return pose && tiltByKey(*pose, key, modifiers);
    });
    // Tests only: a known picture instead of an application's OpenGL drawing.
    const QByteArray pattern = qgetenv("ZELMO_TEST_PATTERN");
    view.setTestPattern(pattern == "animate" ? 2 : pattern.isEmpty() ? 0 : 1);
    connectDisplayState(view);
    app.setMainView(&view);
    // The session is bound to the view (the host) and goes before it.
    ApplicationSession session(view);
    view.showAs(options.windowed);
    InputPlayer input(session, std::move(events));
    input.start();
    int status = session.exitStatus();
    if (view.loadApplication()) {
        const int loopStatus = app.exec();
        status = session.ended() ? session.exitStatus() : loopStatus;
    } else {
        status = session.exitStatus();
    }
    app.setMainView(nullptr);
    return status;
}

} // namespace zelmo
