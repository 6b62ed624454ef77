// SPDX-License-Identifier: MIT
#include "window/X11Support.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace zelmo::x11 {

namespace {
QNativeInterface::QX11Application* application()
{
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name, bool onlyIfExists)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, onlyIfExists, uint16_t(strlen(name)), name),
        nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}
} // namespace

bool available()
{
    QNativeInterface::QX11Application* x11 = application();
    return x11 && x11->connection();
}

PropertyResult setWindowProperty(WId window, const char* name, const char* type, uint32_t value,
                                 bool checked)
{
    QNativeInterface::QX11Application* x11 = application();
    if (!x11 || !x11->connection()) return PropertyResult::NoAtom;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t property = atom(connection, name, true);
    if (property == XCB_ATOM_NONE) return PropertyResult::NoAtom;
    const xcb_atom_t propertyType = atom(connection, type, false);
    if (!checked) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window), property,
                            propertyType, 32, 1, &value);
        xcb_flush(connection);
        return PropertyResult::Set;
    }
    xcb_generic_error_t* error =
        xcb_request_check(connection, xcb_change_property_checked(connection, XCB_PROP_MODE_REPLACE,
                                                                  xcb_window_t(window), property,
                                                                  propertyType, 32, 1, &value));
    std::free(error);
    return error ? PropertyResult::Failed : PropertyResult::Set;
}

bool enableDetectableAutoRepeat()
{
    QNativeInterface::QX11Application* x11 = application();
    if (!x11 || !x11->display()) return false;
    Bool supported = False;
    return XkbSetDetectableAutoRepeat(x11->display(), True, &supported) && supported;
}

} // namespace zelmo::x11
