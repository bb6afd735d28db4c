// Every way writing a script can fail, against both front ends: lumvrex-cli
// and the window's "Create pub" (with fake dialogs). Each time: a message that
// names the path and the reason; exit code 1, or a window unchanged and still
// able to write; and the folder exactly as it was, old files with their bytes
// and permissions, no partial or temporary file. Prints the matrix at the end.
#include "test_support.h"
#include "window/form1.h"
#include "window/page_list_model.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>

#include <map>

namespace {

enum class Front { Cli, Window };
enum class Run { AsCaller, AsNobody, WithFileSizeLimit };

struct Fault
{
    const char *name;
    Run run;
    const char *reason;                     // part of the system's text, as the message must show it
    bool smallDisk;                         // the folder is a small tmpfs
    QString (*prepare)(const QString &dir); // returns the target path
};

const QByteArray kOldBytes = "an earlier script that must survive\r\n";

QString existingFile(const QString &path, QFile::Permissions permissions)
{
    writeWholeFile(path, kOldBytes);
    QFile::setPermissions(path, permissions);
    return path;
}

const QFile::Permissions kReadWrite =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kOpenFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
    | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

const Fault kFaults[] = {
    {"missing folder", Run::AsCaller, "No such file or directory", false,
     [](const QString &dir) { return dir + QStringLiteral("/no such folder/book.pub"); }},
    {"target is a folder", Run::AsCaller, "directory", false,
     [](const QString &dir) {
         QDir(dir).mkdir(QStringLiteral("book.pub"));
         return dir + QStringLiteral("/book.pub");
     }},
    {"read-only folder", Run::AsNobody, "Permission denied", false,
     [](const QString &dir) {
         // The old file itself may be written by anyone: the folder stops it.
         existingFile(dir + QStringLiteral("/book.pub"), kReadWrite | QFile::WriteGroup | QFile::WriteOther);
         QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
         return dir + QStringLiteral("/book.pub");
     }},
    {"read-only existing file", Run::AsNobody, "Permission denied", false,
     [](const QString &dir) {
         QFile::setPermissions(dir, kOpenFolder);
         return existingFile(dir + QStringLiteral("/book.pub"), kReadOnly);
     }},
    {"name over 255 bytes", Run::AsCaller, "File name too long", false,
     [](const QString &dir) { return dir + u'/' + QString(130, QChar(0xF1)); }}, // 260 bytes in UTF-8
    {"symlink loop in the path", Run::AsCaller, "Too many levels of symbolic links", false,
     [](const QString &dir) {
         QFile::link(QStringLiteral("loop"), dir + QStringLiteral("/loop"));
         return dir + QStringLiteral("/loop/book.pub");
     }},
    {"target is a looping symlink", Run::AsCaller, "Too many levels of symbolic links", false,
     [](const QString &dir) {
         QFile::link(QStringLiteral("book.pub"), dir + QStringLiteral("/book.pub"));
         return dir + QStringLiteral("/book.pub");
     }},
    {"disk full", Run::AsCaller, "No space left on device", true,
     [](const QString &dir) { return existingFile(dir + QStringLiteral("/book.pub"), kReadWrite); }},
    {"file-size limit", Run::WithFileSizeLimit, "File too large", false,
     [](const QString &dir) { return existingFile(dir + QStringLiteral("/book.pub"), kReadWrite); }},
};

// Everything in a folder tree: kind, bytes, permissions, link targets.
std::map<QString, QString> snapshot(const QString &dir)
{
    std::map<QString, QString> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QString description = QString::number(int(info.permissions()), 16);
        if (info.isSymLink())
            description += QStringLiteral(" link ") + info.symLinkTarget();
        else if (info.isDir())
            description += QStringLiteral(" folder");
        else
            description += QStringLiteral(" file ") + QString::fromLatin1(readWholeFile(path).toHex());
        entries[path.mid(dir.size())] = description;
    }
    return entries;
}

QStringList manyPictures()
{
    QStringList pages;
    for (int i = 0; i < 3000; ++i)
        pages.append(QStringLiteral("/pictures/p%1.png").arg(i));
    return pages;
}

std::map<QString, std::map<QString, QString>> &matrix()
{
    static std::map<QString, std::map<QString, QString>> outcomes;
    return outcomes;
}

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase();
    void fault_data();
    void fault();
    void writingThroughASymlink_data();
    void writingThroughASymlink();

private:
    struct Outcome
    {
        QString message;
        bool failedAsItShould = false;
    };
    Outcome runCliFront(const QString &target, Run run);
    Outcome runWindowFront(const QString &target, Run run, const QString &retryTarget);
};

void TestFaultMatrix::cleanupTestCase()
{
    std::printf("\n%-30s | %-42s | %s\n", "failure", "lumvrex-cli", "window");
    std::printf("%s|%s|%s\n", QByteArray(31, '-').constData(), QByteArray(44, '-').constData(),
                QByteArray(44, '-').constData());
    for (const auto &row : matrix()) {
        const auto &fronts = row.second;
        const QString &failure = row.first;
        auto cell = [&fronts](const char *front) {
            const auto found = fronts.find(QString::fromLatin1(front));
            return found == fronts.end() ? QStringLiteral("(not run)") : found->second;
        };
        std::printf("%-30s | %-42s | %s\n", qPrintable(failure), qPrintable(cell("cli")),
                    qPrintable(cell("window")));
    }
    std::fflush(stdout);
}

void TestFaultMatrix::fault_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("front");
    for (int i = 0; i < int(std::size(kFaults)); ++i) {
        QTest::addRow("%s, cli", kFaults[i].name) << i << int(Front::Cli);
        QTest::addRow("%s, window", kFaults[i].name) << i << int(Front::Window);
    }
}

TestFaultMatrix::Outcome TestFaultMatrix::runCliFront(const QString &target, Run run)
{
    const ChildAs as = run == Run::AsNobody ? ChildAs::Nobody
        : run == Run::WithFileSizeLimit     ? ChildAs::SmallFileLimit
                                            : ChildAs::Caller;
    const CliRun result = runCli({QStringLiteral("--title"), QStringLiteral("Album"), QStringLiteral("-o"),
                                  target, QStringLiteral("--files-from"), QStringLiteral("-")},
                                 pathList(3000, '\n'), as);
    return {QString::fromUtf8(result.err), result.exitCode == 1 && result.out.isEmpty()};
}

TestFaultMatrix::Outcome TestFaultMatrix::runWindowFront(const QString &target, Run run,
                                                         const QString &retryTarget)
{
    Form1 form;
    FakeDialogs dialogs;
    FixedEffectSource effects({0.5f});
    form.setDialogs(&dialogs);
    form.setEffectSource(&effects);
    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Album"));
    form.findChild<QLineEdit *>(QStringLiteral("Text3"))->setText(QStringLiteral("hello"));
    form.pageList()->append(manyPictures());
    const PublicationInputs before = form.publicationInputs();
    auto *createPub = form.findChild<QPushButton *>(QStringLiteral("Command1"));

    dialogs.answer = target;
    {
        std::optional<Unprivileged> unprivileged;
        std::optional<FileSizeLimit> limit;
        if (run == Run::AsNobody)
            unprivileged.emplace();
        if (run == Run::WithFileSizeLimit)
            limit.emplace(64 * 1024);
        createPub->click();
    }
    Outcome outcome;
    if (dialogs.shown.size() == 2 && dialogs.shown[1].kind == u"warn" && dialogs.shown[1].title == u"Lumvrex")
        outcome.message = dialogs.shown[1].text;
    const PublicationInputs after = form.publicationInputs();
    const bool unchanged = after.title == before.title && after.pages == before.pages
        && form.findChild<QLineEdit *>(QStringLiteral("Text3"))->text() == u"hello";

    // Still usable: the same window writes the script at once elsewhere.
    dialogs.shown.clear();
    dialogs.answer = retryTarget;
    createPub->click();
    const bool usable = !dialogs.shown.isEmpty() && dialogs.shown.constLast().text == u"Finished!"
        && scriptLines(readWholeFile(retryTarget)).size() == 69 + 28 * 3000;
    QFile::remove(retryTarget);
    outcome.failedAsItShould = !outcome.message.isEmpty() && unchanged && usable;
    return outcome;
}

void TestFaultMatrix::fault()
{
    QFETCH(int, fault);
    QFETCH(int, front);
    const Fault &f = kFaults[fault];
    const QString frontName = front == int(Front::Cli) ? QStringLiteral("cli") : QStringLiteral("window");

    QTemporaryDir base;
    QVERIFY(base.isValid());
    QFile::setPermissions(base.path(), kOpenFolder);
    const QString dir = base.path() + QStringLiteral("/target");
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("target")));
    QFile::setPermissions(dir, kOpenFolder);
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("retry")));
    QFile::setPermissions(base.path() + QStringLiteral("/retry"), kOpenFolder);

    if (f.smallDisk) {
        if (::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, "size=256k,mode=0777") != 0) {
            const QString why =
                QStringLiteral("mounting a small tmpfs was refused: %1").arg(qt_error_string(errno));
            matrix()[QString::fromLatin1(f.name)][frontName] = QStringLiteral("skipped (mount refused)");
            QSKIP(qPrintable(why));
        }
    }
    const auto unmount = qScopeGuard([&] {
        if (f.smallDisk)
            ::umount(QFile::encodeName(dir).constData());
    });

    const QString target = f.prepare(dir);
    const auto before = snapshot(base.path());
    const Outcome outcome = front == int(Front::Cli)
        ? runCliFront(target, f.run)
        : runWindowFront(target, f.run, base.path() + QStringLiteral("/retry/ok.pub"));
    QFile::setPermissions(dir, kOpenFolder); // so that the folder can be cleaned up

    QString cell = outcome.message.section(u':', -1).trimmed();
    if (cell.endsWith(u'.'))
        cell.chop(1);
    matrix()[QString::fromLatin1(f.name)][frontName] =
        (front == int(Front::Cli) ? QStringLiteral("exit 1: ") : QStringLiteral("warned: ")) + cell;

    QVERIFY2(outcome.failedAsItShould, qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(target), qPrintable(outcome.message));
    QVERIFY2(outcome.message.contains(QString::fromLatin1(f.reason)), qPrintable(outcome.message));
    auto after = snapshot(base.path());
    auto expected = before;
    // The snapshot of the target folder was taken with its test permissions.
    after[QStringLiteral("/target")] = expected[QStringLiteral("/target")];
    QCOMPARE(after, expected);
}

void TestFaultMatrix::writingThroughASymlink_data()
{
    QTest::addColumn<int>("front");
    QTest::newRow("cli") << int(Front::Cli);
    QTest::newRow("window") << int(Front::Window);
}

void TestFaultMatrix::writingThroughASymlink()
{
    QFETCH(int, front);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString real = existingFile(dir.filePath(QStringLiteral("real.pub")), kReadWrite);
    const QString link = dir.filePath(QStringLiteral("link.pub"));
    QVERIFY(QFile::link(QStringLiteral("real.pub"), link));

    if (front == int(Front::Cli)) {
        QCOMPARE(runCli({QStringLiteral("-o"), link, QStringLiteral("a.png")}).exitCode, 0);
    } else {
        Form1 form;
        FakeDialogs dialogs;
        form.setDialogs(&dialogs);
        form.pageList()->append({QStringLiteral("a.png")});
        dialogs.answer = link;
        form.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QCOMPARE(dialogs.shown.constLast().text, QStringLiteral("Finished!"));
    }
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), real);
    QCOMPARE(scriptLines(readWholeFile(real)).size(), 69 + 28);
    QCOMPARE(QFile::permissions(real) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), kReadWrite);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("link.pub"), QStringLiteral("real.pub")}));
    matrix()[QStringLiteral("writing through a symlink")]
            [front == int(Front::Cli) ? QStringLiteral("cli") : QStringLiteral("window")] =
                QStringLiteral("written; the link stays");
}

QTEST_MAIN(TestFaultMatrix)
#include "tst_fault_matrix.moc"
