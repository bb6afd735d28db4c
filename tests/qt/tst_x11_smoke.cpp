// Starts the real lumvrex on an X server (run under xvfb-run) with openbox,
// a real window manager, and uses it from the keyboard as a person does:
// the window must be a fixed normal window kept out of the task bar, take
// the focus when it opens, get it back when a dialog closes, and end when
// the window manager closes it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <xcb/xcb.h>

#include <cstdint>
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

    // A property of 32-bit values: atoms, windows or numbers.
    QList<std::uint32_t> values(xcb_window_t window, xcb_atom_t property) const
    {
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, XCB_ATOM_ANY, 0, 1024),
            nullptr));
        QList<std::uint32_t> result;
        if (reply && reply->format == 32) {
            const auto *data = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
            result = QList<std::uint32_t>(data, data + xcb_get_property_value_length(reply.get()) / 4);
        }
        return result;
    }
    QList<std::uint32_t> values(xcb_window_t window, const char *property) const
    {
        return values(window, atom(property));
    }

    bool windowManagerRunning() const { return !values(root(), "_NET_SUPPORTING_WM_CHECK").isEmpty(); }

    xcb_window_t activeWindow() const
    {
        const QList<std::uint32_t> active = values(root(), "_NET_ACTIVE_WINDOW");
        return active.isEmpty() ? xcb_window_t(XCB_WINDOW_NONE) : active.front();
    }

    // The managed window whose title starts with prefix. A window manager
    // puts each window into a frame of its own, so it is looked for in the
    // window manager's list, not among the root's children.
    xcb_window_t findWindow(const QByteArray &prefix) const
    {
        for (const std::uint32_t window : values(root(), "_NET_CLIENT_LIST")) {
            if (name(window).startsWith(prefix))
                return window;
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

const QByteArray kForm1Title = "Zantrel - Lumvrex";
const QByteArray kAskTitle = "C:\\MyEBook.pub";
const QByteArray kMessageTitle = "Lumvrex";
constexpr int kWait = 10000;

// Keys pressed and text typed through the X server, as a keyboard does.
bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral(XDOTOOL), arguments) == 0;
}

} // namespace

class TestX11Smoke : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void windowIsFixedNormalAndOutOfTheTaskBar();
    void altTabComesBackToTheWindow();
    void keyboardStaysInTheWindowThroughEveryDialog();
    void returnAnswersThePathQuestionEveryTime();
    void wholeTaskFromTheKeyboardAlone();
    void endsWhenTheWindowManagerClosesIt();

private:
    QByteArray activeTitle() const { return m_x11->name(m_x11->activeWindow()); }

    std::unique_ptr<X11> m_x11;
    QProcess m_openbox;
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_app;
    xcb_window_t m_window = XCB_WINDOW_NONE;
};

void TestX11Smoke::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QFAIL("no X server: run this test under xvfb-run");
    m_x11 = std::make_unique<X11>();
    QVERIFY(m_x11->ok());
    QVERIFY(!m_x11->windowManagerRunning());

    // Openbox with its stock settings, not whatever the user running the
    // tests has set up.
    QVERIFY(m_home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
    m_openbox.setProcessEnvironment(env);
    m_openbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_openbox.start(QStringLiteral(OPENBOX), {});
    QVERIFY(m_openbox.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_x11->windowManagerRunning(), kWait);
}

void TestX11Smoke::cleanupTestCase()
{
    m_openbox.terminate();
    m_openbox.waitForFinished();
}

void TestX11Smoke::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_app = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_app->setProcessEnvironment(env);
    m_app->setWorkingDirectory(m_folder->path()); // where relative answers are written
    m_app->start(QStringLiteral(LUMVREX_APP), {});
    QVERIFY(m_app->waitForStarted());
    m_window = XCB_WINDOW_NONE;
    QTRY_VERIFY_WITH_TIMEOUT((m_window = m_x11->findWindow(kForm1Title)) != XCB_WINDOW_NONE, 2 * kWait);
}

void TestX11Smoke::cleanup()
{
    if (m_app->state() != QProcess::NotRunning) {
        m_app->kill();
        m_app->waitForFinished();
    }
}

void TestX11Smoke::windowIsFixedNormalAndOutOfTheTaskBar()
{
    QCOMPARE(m_x11->size(m_window), QSize(435, 191));
    QCOMPARE(m_x11->values(m_window, "_NET_WM_WINDOW_TYPE"),
             QList<std::uint32_t>{m_x11->atom("_NET_WM_WINDOW_TYPE_NORMAL")});
    // Not transient for another window: a tool window of Qt's is transient
    // for a hidden one, and window managers then leave the focus elsewhere.
    QVERIFY(m_x11->values(m_window, XCB_ATOM_WM_TRANSIENT_FOR).isEmpty());
    // Openbox leaves windows that skip the task bar out of Alt+Tab, and being
    // reachable comes first.
    QVERIFY(!m_x11->values(m_window, "_NET_WM_STATE").contains(m_x11->atom("_NET_WM_STATE_SKIP_TASKBAR")));

    // Asks for no minimise and no maximise box (Motif hints: functions,
    // decorations); openbox itself still offers minimising.
    const QList<std::uint32_t> motif = m_x11->values(m_window, "_MOTIF_WM_HINTS");
    QVERIFY(motif.size() >= 3);
    const std::uint32_t minimizeOrMaximize = 8 | 16;
    QCOMPARE(motif[1] & minimizeOrMaximize, 0u);
    QCOMPARE(motif[2] & (minimizeOrMaximize << 2), 0u);
    // Openbox honours the fixed size: it offers neither resizing nor maximising.
    QTRY_VERIFY_WITH_TIMEOUT(!m_x11->values(m_window, "_NET_WM_ALLOWED_ACTIONS").isEmpty(), kWait);
    const QList<std::uint32_t> allowed = m_x11->values(m_window, "_NET_WM_ALLOWED_ACTIONS");
    QVERIFY(allowed.contains(m_x11->atom("_NET_WM_ACTION_CLOSE")));
    for (const char *action :
         {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
        QVERIFY2(!allowed.contains(m_x11->atom(action)), action);
}

// The focus starts on "Create pub"; Tab reaches the title field after "Exit".
void TestX11Smoke::keyboardStaysInTheWindowThroughEveryDialog()
{
    // Takes the focus when it opens.
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QVERIFY(xdotool({"key", "Tab", "Tab"}));
    QVERIFY(xdotool({"type", "Mi libro"}));
    QVERIFY(xdotool({"key", "shift+Tab", "shift+Tab", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kAskTitle, kWait);
    QVERIFY(xdotool({"type", "libro.pub"}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kMessageTitle, kWait);
    QFile first(m_folder->filePath(QStringLiteral("libro.pub")));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QVERIFY(first.readAll().contains("\r\nTitle = Mi libro\r\n"));

    // After "Finished!" the window has the focus again, and so has "Create
    // pub": Return runs it once more.
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kAskTitle, kWait);

    // After Cancel too; typing then changes the title field.
    QVERIFY(xdotool({"key", "Escape"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QVERIFY(xdotool({"key", "Tab", "Tab"}));
    QVERIFY(xdotool({"type", "Otro"}));
    QVERIFY(xdotool({"key", "shift+Tab", "shift+Tab", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kAskTitle, kWait);
    QVERIFY(xdotool({"type", "otro.pub"}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kMessageTitle, kWait);
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QFile second(m_folder->filePath(QStringLiteral("otro.pub")));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QVERIFY(second.readAll().contains("\r\nTitle = Otro\r\n"));
}

// A keyboard user who went to another program comes back with Alt+Tab.
void TestX11Smoke::altTabComesBackToTheWindow()
{
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QProcess other;
    other.setProcessEnvironment(m_app->processEnvironment());
    other.start(QStringLiteral(LUMVREX_APP), {});
    QVERIFY(other.waitForStarted());
    xcb_window_t second = XCB_WINDOW_NONE;
    const auto findSecond = [&] {
        for (const std::uint32_t window : m_x11->values(m_x11->root(), "_NET_CLIENT_LIST")) {
            if (window != m_window && m_x11->name(window).startsWith(kForm1Title))
                second = window;
        }
        return second != XCB_WINDOW_NONE;
    };
    QTRY_VERIFY_WITH_TIMEOUT(findSecond(), 2 * kWait);
    // Openbox may keep a new window from taking the focus from another one.
    QVERIFY(xdotool({"windowactivate", "--sync", QString::number(second)}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), second, kWait);
    QVERIFY(xdotool({"key", "alt+Tab"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    other.kill();
    other.waitForFinished();
}

// Typed or pasted, an existing file or a new one: the first Return in the
// path question writes, every time.
void TestX11Smoke::returnAnswersThePathQuestionEveryTime()
{
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    const QString existing = m_folder->filePath(QStringLiteral("existe.pub"));
    QFile(existing).open(QIODevice::WriteOnly);
    for (int i = 0; i < 52; ++i) {
        const bool pasted = i % 2 == 1;
        const QString path = i % 4 < 2 ? existing : m_folder->filePath(QStringLiteral("nuevo%1.pub").arg(i));
        QFile::remove(path);
        QVERIFY(xdotool({"key", "Return"})); // "Create pub" has the focus
        QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kAskTitle, kWait);
        if (pasted) {
            QProcess clip;
            clip.start(QStringLiteral("xclip"), {"-selection", "clipboard"});
            QVERIFY(clip.waitForStarted());
            clip.write(path.toUtf8());
            clip.closeWriteChannel();
            QVERIFY(clip.waitForFinished());
            QVERIFY(xdotool({"key", "ctrl+v"}));
        } else {
            QVERIFY(xdotool({"type", "--delay", "2", path}));
        }
        // Time for the completer to offer the existing file's name.
        QTest::qWait(150);
        QVERIFY(xdotool({"key", "Return"}));
        QTRY_VERIFY2_WITH_TIMEOUT(
            activeTitle() == kMessageTitle,
            qPrintable(
                QStringLiteral("try %1 (%2): still %3").arg(i).arg(path, QString::fromUtf8(activeTitle()))),
            kWait);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QVERIFY(xdotool({"key", "Return"}));
        QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    }
}

// Copy files in another program, paste them, add two with the open dialog,
// remove one, move one, Clear, Ctrl+Z, then Create pub: without a mouse.
void TestX11Smoke::wholeTaskFromTheKeyboardAlone()
{
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    QDir folder(m_folder->path());
    for (const char *name : {"a.png", "b.png", "c.png", "d.png"})
        QFile(folder.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    const QString shots = qEnvironmentVariable("LUMVREX_SHOTS");
    const auto shoot = [&shots](const char *name) {
        if (!shots.isEmpty())
            QProcess::execute(QStringLiteral("import"),
                              {"-window", "root", shots + "/" + QLatin1String(name)});
    };

    // A file manager's copy: the files as a URI list on the clipboard.
    QProcess clip;
    clip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "text/uri-list"});
    QVERIFY(clip.waitForStarted());
    clip.write(QUrl::fromLocalFile(folder.filePath("a.png")).toEncoded() + "\r\n"
               + QUrl::fromLocalFile(folder.filePath("b.png")).toEncoded() + "\r\n");
    clip.closeWriteChannel();
    QVERIFY(clip.waitForFinished());

    QVERIFY(xdotool({"key", "Tab", "Tab", "Tab", "Tab", "Tab"})); // from Create pub to the page list
    QVERIFY(xdotool({"key", "ctrl+v"}));
    QTest::qWait(300);
    shoot("list-after-paste.png");

    QVERIFY(xdotool({"key", "Insert"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), QByteArray("Add pictures"), kWait);
    QTest::qWait(300);
    QVERIFY(xdotool({"type", "\"c.png\" \"d.png\""}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);
    // a b c d, c selected: Delete takes it and selects d; Ctrl+Left puts
    // d before b.
    QVERIFY(xdotool({"key", "Delete", "ctrl+Left"}));
    QVERIFY(xdotool({"key", "Menu"}));
    QTest::qWait(500);
    shoot("context-menu.png");
    QVERIFY(xdotool({"key", "Escape"}));
    QTest::qWait(200);
    QVERIFY(xdotool({"key", "Tab", "space"})); // Clear
    QVERIFY(xdotool({"key", "shift+Tab", "ctrl+z"}));
    QTest::qWait(200);
    shoot("list-after-undo.png");
    QVERIFY(xdotool({"key", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"})); // Create pub
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kAskTitle, kWait);
    QVERIFY(xdotool({"type", "libro.pub"}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(activeTitle(), kMessageTitle, kWait);
    shoot("finished.png");
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_x11->activeWindow(), m_window, kWait);

    QFile script(folder.filePath(QStringLiteral("libro.pub")));
    QVERIFY(script.open(QIODevice::ReadOnly));
    QList<QByteArray> pages;
    for (const QByteArray &line : script.readAll().split('\n')) {
        if (line.startsWith("FileName="))
            pages.append(line.mid(9).trimmed());
    }
    QCOMPARE(pages,
             (QList<QByteArray>{folder.filePath("a.png").toUtf8(), folder.filePath("d.png").toUtf8(),
                                folder.filePath("b.png").toUtf8()}));
}

void TestX11Smoke::endsWhenTheWindowManagerClosesIt()
{
    QCOMPARE(m_app->state(), QProcess::Running);
    m_x11->sendDeleteWindow(m_window);
    QVERIFY(m_app->waitForFinished(kWait));
    QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
    QVERIFY2(m_app->exitCode() == 0, m_app->readAllStandardError().right(4000).constData());
}

QTEST_GUILESS_MAIN(TestX11Smoke)
#include "tst_x11_smoke.moc"
