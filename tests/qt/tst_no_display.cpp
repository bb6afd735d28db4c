// lumvrex started where there is no display, as over ssh: one line that
// says so and points to lumvrex-cli, and exit status 2, not Qt's abort.
#include "i18n/message_format.h"
#include "support/catalogue_text.h"

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

// The line in English or, from the catalogue, in Spanish.
QString expectedLine(bool spanish, const char *reason, const QString &display)
{
    const lumvrex::testing::CatalogueText text(
        spanish, LUMVREX_SPANISH_CATALOGUE,
        [](const std::string &miss) { QTest::qFail(miss.c_str(), __FILE__, __LINE__); });
    const std::string why = lumvrex::formatMessage(text.text("no display", reason), {display.toStdString()});
    return QString::fromStdString(lumvrex::formatMessage(
               text.text("no display",
                         "lumvrex: no display found (%s); lumvrex-cli writes the same script without one."),
               {why}))
        + QLatin1Char('\n');
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
    QTest::addColumn<bool>("spanish"); // the user's messages language
    QTest::addColumn<QString>("line");

    const QString nobody = unusedDisplay();
    QVERIFY(!nobody.isEmpty());
    const char *notSet = "DISPLAY is not set";
    const char *cannotOpen = "cannot open the X display \"%s\"";
    for (const bool spanish : {false, true}) {
        const char *language = spanish ? ", Spanish" : ", English";
        QTest::addRow("DISPLAY not set%s", language)
            << QString() << QStringList() << spanish << expectedLine(spanish, notSet, {});
        QTest::addRow("no X server at DISPLAY%s", language)
            << nobody << QStringList() << spanish << expectedLine(spanish, cannotOpen, nobody);
    }
    QTest::newRow("DISPLAY empty") << QString("") << QStringList() << false
                                   << expectedLine(false, notSet, {});
    QTest::newRow("no X server at -display")
        << QString() << QStringList{"-display", nobody} << false << expectedLine(false, cannotOpen, nobody);
    QTest::newRow("explicitly X11") << nobody << QStringList{"-platform", "xcb"} << false
                                    << expectedLine(false, cannotOpen, nobody);
}

void TestNoDisplay::saysSoInOneLine()
{
    QFETCH(QString, display);
    QFETCH(QStringList, arguments);
    QFETCH(bool, spanish);
    QFETCH(QString, line);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    for (const char *name : {"LC_ALL", "LANGUAGE"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LC_MESSAGES"),
               spanish ? QStringLiteral("es_ES.UTF-8") : QStringLiteral("C.UTF-8"));
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
    QCOMPARE(errors, line);
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
