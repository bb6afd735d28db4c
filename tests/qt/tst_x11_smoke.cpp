// Starts the real lumvrex on an X server (run under xvfb-run) and checks that
// it shows its window, keeps it out of the task bar, and exits when the
// window is closed the way a window manager closes it.
#include <QProcess>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

class X11
{
public:
    X11()
        : m_connection(xcb_connect(nullptr, nullptr))
    { }
    ~X11() { xcb_disconnect(m_connection); }
    X11(const X11 &) = delete;
    X11 &operator=(const X11 &) = delete;

    bool ok() const { return !xcb_connection_has_error(m_connection); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

    xcb_atom_t atom(const char *name) const
    {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    QByteArray name(xcb_window_t window) const
    {
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 256),
            nullptr));
        if (!reply)
            return {};
        return {static_cast<const char *>(xcb_get_property_value(reply.get())),
                xcb_get_property_value_length(reply.get())};
    }

    QList<xcb_atom_t> atoms(xcb_window_t window, xcb_atom_t property) const
    {
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, XCB_ATOM_ATOM, 0, 64),
            nullptr));
        QList<xcb_atom_t> result;
        if (reply && reply->format == 32) {
            const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
            result = QList<xcb_atom_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
        }
        return result;
    }

    // The first viewable top-level window whose title starts with prefix.
    xcb_window_t findWindow(const QByteArray &prefix) const
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root()), nullptr));
        if (!tree)
            return XCB_WINDOW_NONE;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE
                && name(children[i]).startsWith(prefix))
                return children[i];
        }
        return XCB_WINDOW_NONE;
    }

    QSize size(xcb_window_t window) const
    {
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        return geometry ? QSize(geometry->width, geometry->height) : QSize();
    }

    // What a window manager sends when the close box is clicked.
    void sendDeleteWindow(xcb_window_t window) const
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t *m_connection;
};

} // namespace

class TestX11Smoke : public QObject
{
    Q_OBJECT
private slots:
    void showsItsWindowAndEndsWhenClosed();
};

void TestX11Smoke::showsItsWindowAndEndsWhenClosed()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QFAIL("no X server: run this test under xvfb-run");
    X11 x11;
    QVERIFY(x11.ok());

    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(LUMVREX_APP), {});
    QVERIFY(app.waitForStarted());

    xcb_window_t window = XCB_WINDOW_NONE;
    QTRY_VERIFY_WITH_TIMEOUT((window = x11.findWindow("Zantrel - Lumvrex")) != XCB_WINDOW_NONE, 20000);
    QCOMPARE(x11.size(window), QSize(435, 191));
    QVERIFY(x11.atoms(window, x11.atom("_NET_WM_STATE")).contains(x11.atom("_NET_WM_STATE_SKIP_TASKBAR")));
    QCOMPARE(app.state(), QProcess::Running);

    x11.sendDeleteWindow(window);
    QVERIFY(app.waitForFinished(10000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QVERIFY2(app.exitCode() == 0, app.readAllStandardError().right(4000).constData());
}

QTEST_GUILESS_MAIN(TestX11Smoke)
#include "tst_x11_smoke.moc"
