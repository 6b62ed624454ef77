// SPDX-License-Identifier: MIT
#include "window/QtClientApplication.h"

#include "window/MainView.h"

#include <X11/Xlib.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace zelmo {

namespace {
const char kCurrentAppWindow[] = "_MB_CURRENT_APP_WINDOW";

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

QtClientApplication::QtClientApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection) return;
    // The default screen's root window, as Qt's display has it.
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    if (!display) return;
    m_root = uint32_t(DefaultRootWindow(display));
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(kCurrentAppWindow)), kCurrentAppWindow),
        nullptr);
    if (!reply) return;
    m_atom = reply->atom;
    std::free(reply);
    m_filter = std::make_unique<ForegroundFilter>(*this);
    installNativeEventFilter(m_filter.get());
}

QtClientApplication::~QtClientApplication()
{
    if (m_filter) removeNativeEventFilter(m_filter.get());
}

bool QtClientApplication::readCurrentAppWindow(uint32_t& window) const
{
    xcb_connection_t* connection = x11Connection();
    if (!connection || !m_atom) return false;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, m_root, m_atom, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    const bool readable = reply && reply->type == XCB_ATOM_WINDOW && reply->format == 32 &&
                          reply->value_len == 1 && reply->bytes_after == 0;
    if (readable) std::memcpy(&window, xcb_get_property_value(reply), sizeof window);
    std::free(reply);
    return readable;
}

void QtClientApplication::currentAppWindowChanged()
{
    uint32_t window = 0;
    if (!readCurrentAppWindow(window) || !m_view) return;
    // -1: the window manager's own screens are closed and this application is in front.
    m_view->setForeground(window == 0xFFFFFFFFu || m_view->isActiveWindow());
}

bool QtClientApplication::ForegroundFilter::nativeEventFilter(const QByteArray& eventType,
                                                              void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
    if (change->window == m_application.m_root && change->atom == m_application.m_atom &&
        change->state == XCB_PROPERTY_NEW_VALUE)
        m_application.currentAppWindowChanged();
    return false;
}

} // namespace zelmo
