// lumvrex started where there is no display, as over ssh: one line that
// says so and points to lumvrex-cli, and exit status 2, not Qt's abort.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An X display number that no server on this machine answers.
QString unusedDisplay()
{
    for (int number = 90; number < 1000; ++number) {
        const QString name = QString::number(number);
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + name)
            && !QFileInfo::exists(QStringLiteral("/tmp/.X") + name + QStringLiteral("-lock")))
            return QStringLiteral(":") + name;
    }
    return {};
}

} // namespace

class TestNoDisplay : public QObject
{
    Q_OBJECT
private slots:
    void saysSoInOneLine_data();
    void saysSoInOneLine();
    void startsWithAPlatformThatNeedsNoDisplay();
};

void TestNoDisplay::saysSoInOneLine_data()
{
    QTest::addColumn<QString>("display"); // DISPLAY, or unset when null
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");

    const QString nobody = unusedDisplay();
    QVERIFY(!nobody.isEmpty());
    QTest::newRow("DISPLAY not set") << QString() << QStringList() << "DISPLAY is not set";
    QTest::newRow("DISPLAY empty") << QString("") << QStringList() << "DISPLAY is not set";
    QTest::newRow("no X server at DISPLAY")
        << nobody << QStringList() << "cannot open the X display \"" + nobody + "\"";
    QTest::newRow("no X server at -display")
        << QString() << QStringList{"-display", nobody} << "cannot open the X display \"" + nobody + "\"";
    QTest::newRow("explicitly X11") << nobody << QStringList{"-platform", "xcb"}
                                    << "cannot open the X display \"" + nobody + "\"";
}

void TestNoDisplay::saysSoInOneLine()
{
    QFETCH(QString, display);
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    if (!display.isNull())
        env.insert(QStringLiteral("DISPLAY"), display);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());

    QProcess app;
    app.setProcessEnvironment(env);
    app.setWorkingDirectory(folder.path());
    app.start(QStringLiteral(LUMVREX_APP), arguments);
    QVERIFY(app.waitForFinished(20000));
    const QString errors = QString::fromUtf8(app.readAllStandardError());
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 2);
    QCOMPARE(errors,
             "lumvrex: no display found (" + reason + "); lumvrex-cli writes the same script without one.\n");
    QVERIFY(app.readAllStandardOutput().isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty()); // nothing written
}

// A platform the user chose is Qt's to open: the window starts and waits.
void TestNoDisplay::startsWithAPlatformThatNeedsNoDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(LUMVREX_APP), {});
    QVERIFY(app.waitForStarted());
    QVERIFY(!app.waitForFinished(1500));
    QCOMPARE(app.state(), QProcess::Running);
    app.kill();
    app.waitForFinished();
}

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_no_display.moc"
