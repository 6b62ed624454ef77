// SPDX-License-Identifier: MIT
// The window tests' helper: plays the device's parts that stock tools cannot (the display
// signal from its service's owner, X properties typed as the window manager wrote them) and
// compares pictures with the test pattern. Commands: see main().
#include "window/TestPattern.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

using namespace zelmo;

namespace {

int fail(const char* what)
{
    std::fprintf(stderr, "window-probe: %s\n", what);
    return 1;
}

int emitDisplayState(int argc, char** argv, const char* state)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return fail("no system bus");
    if (!bus.registerService(QStringLiteral("com.nokia.mce"))) return fail("name not owned");
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/com/nokia/mce/signal"),
                                                     QStringLiteral("com.nokia.mce.signal"),
                                                     QStringLiteral("display_status_ind"));
    signal << QString::fromLocal8Bit(state);
    if (!bus.send(signal)) return fail("signal not sent");
    // A call answered by the bus returns only after everything sent before it went out.
    bus.interface()->registeredServiceNames();
    return 0;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// Sets a 32-bit property and waits for the server's answer: without it the change can be lost
// when the connection closes.
int setProperty(xcb_window_t window, const char* name, const char* type,
                const std::vector<uint32_t>& values)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) return fail("no display");
    if (!window) window = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_change_property_checked(connection, XCB_PROP_MODE_REPLACE, window,
                                                atom(connection, name), atom(connection, type), 32,
                                                uint32_t(values.size()), values.data()));
    std::free(error);
    xcb_disconnect(connection);
    return error ? fail("property not set") : 0;
}

int createAtoms(int count, char** names)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) return fail("no display");
    for (int i = 0; i < count; ++i)
        atom(connection, names[i]);
    xcb_disconnect(connection);
    return 0;
}

QImage load(const char* path)
{
    QImage image(QString::fromLocal8Bit(path));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Compares every pixel; reports the first difference and how many there are.
int compare(const QImage& image, const std::function<QRgb(int, int)>& expected)
{
    long differences = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = expected(x, y) & 0xffffff, got = image.pixel(x, y) & 0xffffff;
            if (want != got && differences++ == 0)
                std::fprintf(stderr, "window-probe: pixel (%d, %d) is %06x, expected %06x\n", x, y,
                             got, want);
        }
    if (differences) std::fprintf(stderr, "window-probe: %ld pixels differ\n", differences);
    return differences ? 1 : 0;
}

// The picture shows frame FRAME of the pattern SCALE times at (left, top), black around it;
// the logical size is the picture's own when it is a logical screen, else 800 x 480.
int checkPlaced(const char* path, int left, int top, int scale, int frame)
{
    const QImage image = load(path);
    if (image.isNull() || scale < 1) return fail("cannot read the picture");
    const QSize logical = image.size() == QSize(480, 800) ? image.size() : QSize(800, 480);
    return compare(image, [&](int x, int y) -> QRgb {
        const int lx = x - left, ly = y - top;
        if (lx < 0 || ly < 0 || lx >= logical.width() * scale || ly >= logical.height() * scale)
            return 0;
        return testPatternPixel(logical, frame, lx / scale, ly / scale);
    });
}

} // namespace

// display STATE | root-window TYPE VALUE | wm-state WINDOW iconic|normal | atoms NAME... |
// pattern PNG FRAME (exactly that frame) | placed PNG X Y SCALE (frame 1 on a screen grab)
int main(int argc, char** argv)
{
    const QByteArray command = argc > 1 ? argv[1] : "";
    if (command == "display" && argc == 3) return emitDisplayState(argc, argv, argv[2]);
    if (command == "root-window" && argc == 4)
        return setProperty(0, "_MB_CURRENT_APP_WINDOW", argv[2],
                           {uint32_t(std::strtoul(argv[3], nullptr, 0))});
    if (command == "wm-state" && argc == 4)
        return setProperty(xcb_window_t(std::strtoul(argv[2], nullptr, 0)), "WM_STATE", "WM_STATE",
                           {std::strcmp(argv[3], "iconic") == 0 ? 3u : 1u, 0u});
    if (command == "atoms") return createAtoms(argc - 2, argv + 2);
    if (command == "pattern" && argc == 4) return checkPlaced(argv[2], 0, 0, 1, std::atoi(argv[3]));
    if (command == "placed" && argc == 6)
        return checkPlaced(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), 1);
    return fail("usage: see the comment at the top of WindowProbe.cpp");
}
