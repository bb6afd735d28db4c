#include "window/qt/taskbar_hint.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#if defined(LUMVREX_HAVE_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// A property of the given type, or empty.
QByteArray property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr);
    if (!reply)
        return {};
    QByteArray value(static_cast<const char *>(xcb_get_property_value(reply)),
                     xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

} // namespace
#endif

namespace lumvrex {

QByteArray windowManagerName()
{
#if defined(LUMVREX_HAVE_XCB)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return {};
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const QByteArray check =
        property(connection, root, internAtom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() < 4)
        return {};
    xcb_window_t manager = 0;
    std::memcpy(&manager, check.constData(), sizeof manager);
    return property(connection, manager, internAtom(connection, "_NET_WM_NAME"),
                    internAtom(connection, "UTF8_STRING"));
#else
    return {};
#endif
}

void leaveOutOfTaskbar(QWidget *window)
{
#if defined(LUMVREX_HAVE_XCB)
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    // Reachable with Alt+Tab comes first.
    if (windowManagerName() != "KWin")
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    // Qt merges states already on an unmapped window into the ones it sets
    // when mapping it, so setting the property before the first show lasts.
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

} // namespace lumvrex
