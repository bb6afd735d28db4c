#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Run = CliRun;

QByteArray withoutEffects(const QByteArray &script)
{
    QByteArray kept;
    for (const QByteArray &line : script.split('\n')) {
        if (!line.startsWith("PageEffect = "))
            kept += line + '\n';
    }
    return kept;
}

const QStringList kAlbumFields = {
    QStringLiteral("--title"),      QString::fromUtf8("Mi álbum de fotos"),
    QStringLiteral("--back-color"), QStringLiteral("16777215"),
    QStringLiteral("--width"),      QStringLiteral("800"),
    QStringLiteral("--height"),     QStringLiteral("600"),
    QStringLiteral("--icon"),       QStringLiteral("C:\\Iconos\\libro.ico"),
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void version();
    void writesTheSameScriptAsTheWindow();
    void standardOutputAndFileAgree();
    void seedReproduces();
    void filesFrom_data();
    void filesFrom();
    void naturalSort();
    void refusals_data();
    void refusals();
    void writeFailures_data();
    void writeFailures();
    void standardOutputFailure();
    void pageLimit();
    void spanishLocaleWritesCommas();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile::setPermissions(m_dir->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::ExeOther);
}

void TestCli::version()
{
    const Run run = runCli({QStringLiteral("--version")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QByteArray("lumvrex-cli 1.00"));
}

void TestCli::writesTheSameScriptAsTheWindow()
{
    const QString target = path(QStringLiteral("album.pub"));
    const Run run =
        runCli(kAlbumFields
               + QStringList{QStringLiteral("-o"), target, QStringLiteral("--seed"), QStringLiteral("7"),
                             QString::fromUtf8("C:\\Fotos\\playa en Cádiz.jpg"),
                             QString::fromUtf8("C:\\Fotos\\montaña 2.bmp")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty()); // silent on success
    QVERIFY(run.err.isEmpty());
    QCOMPARE(withoutEffects(readWholeFile(target)),
             withoutEffects(expectedScript(QStringLiteral("two-pages.pub.txt"))));
}

void TestCli::standardOutputAndFileAgree()
{
    const QString target = path(QStringLiteral("album.pub"));
    const QStringList common = kAlbumFields
        + QStringList{QStringLiteral("--seed"), QStringLiteral("42"), QStringLiteral("a.png"),
                      QStringLiteral("b.png")};
    const Run toFile = runCli(common + QStringList{QStringLiteral("-o"), target});
    const Run toOut = runCli(common + QStringList{QStringLiteral("-o"), QStringLiteral("-")});
    QCOMPARE(toFile.exitCode, 0);
    QCOMPARE(toOut.exitCode, 0);
    QCOMPARE(toOut.out, readWholeFile(target));
    QCOMPARE(scriptLines(toOut.out).size(), 69 + 2 * 28);
}

void TestCli::seedReproduces()
{
    const QByteArray pages = pathList(200, '\n');
    auto run = [&](const QString &seed) {
        return runCli({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--files-from"),
                       QStringLiteral("-"), QStringLiteral("--seed"), seed},
                      pages)
            .out;
    };
    const QByteArray first = run(QStringLiteral("1234"));
    QCOMPARE(scriptLines(first).size(), 69 + 200 * 28);
    QCOMPARE(run(QStringLiteral("1234")), first);
    const QByteArray other = run(QStringLiteral("1235"));
    QVERIFY(other != first);
    QCOMPARE(withoutEffects(other), withoutEffects(first));

    // The generator is the standard one: seed 1 gives mt19937's first output
    // 1791095845, so the first page's effect is (1791095845 >> 8) / 2^24 * 15.
    const QList<QByteArray> lines = scriptLines(run(QStringLiteral("1")));
    QCOMPARE(lines[69 + 5], QByteArray("PageEffect = 6.25533"));
}

void TestCli::filesFrom_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<bool>("null");
    QTest::addColumn<bool>("viaStdin");
    QTest::addColumn<QStringList>("expected");

    const QStringList three = {QStringLiteral("/a b/one.png"), QString::fromUtf8("/fotos/niño.jpg"),
                               QStringLiteral("/three.png")};
    QTest::newRow("lines") << QByteArray("/a b/one.png\n/fotos/ni\xC3\xB1o.jpg\n/three.png\n") << false
                           << false << three;
    QTest::newRow("CR LF, empty lines, no final end")
        << QByteArray("/a b/one.png\r\n\r\n\n/fotos/ni\xC3\xB1o.jpg\r\n/three.png") << false << false
        << three;
    QTest::newRow("standard input") << QByteArray("/a b/one.png\n/fotos/ni\xC3\xB1o.jpg\n/three.png\n")
                                    << false << true << three;
    static const char nulSeparated[] = "/a b/one.png\0/fotos/ni\xC3\xB1o.jpg\0\0/three.png\0";
    QTest::newRow("NUL separated, empty entries skipped")
        << QByteArray(nulSeparated, sizeof nulSeparated - 1) << true << false << three;
}

void TestCli::filesFrom()
{
    QFETCH(QByteArray, list);
    QFETCH(bool, null);
    QFETCH(bool, viaStdin);
    QFETCH(QStringList, expected);

    const QString listFile = path(QStringLiteral("list"));
    writeWholeFile(listFile, list);
    QStringList args = {QStringLiteral("-o"),
                        QStringLiteral("-"),
                        QStringLiteral("--seed"),
                        QStringLiteral("1"),
                        QStringLiteral("/first.png"),
                        QStringLiteral("--files-from"),
                        viaStdin ? QStringLiteral("-") : listFile};
    if (null)
        args.append(QStringLiteral("--null"));
    const Run run = runCli(args, viaStdin ? list : QByteArray());
    QCOMPARE(run.exitCode, 0);

    QStringList pages;
    for (const QByteArray &line : scriptLines(run.out)) {
        if (line.startsWith("FileName="))
            pages.append(QString::fromLatin1(line.mid(9)));
    }
    QStringList expectedLatin1;
    expectedLatin1.append(QStringLiteral("/first.png")); // positional pictures come first
    for (const QString &page : expected)
        expectedLatin1.append(page);
    QCOMPARE(pages, expectedLatin1);
}

void TestCli::naturalSort()
{
    const Run run =
        runCli({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--natural-sort"),
                QStringLiteral("page10.png"), QStringLiteral("page2.png"), QStringLiteral("page1.png")});
    QCOMPARE(run.exitCode, 0);
    QList<QByteArray> pages;
    for (const QByteArray &line : scriptLines(run.out)) {
        if (line.startsWith("FileName="))
            pages.append(line.mid(9));
    }
    QCOMPARE(pages, (QList<QByteArray>{"page1.png", "page2.png", "page10.png"}));

    const Run unsorted = runCli({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("page10.png"),
                                 QStringLiteral("page2.png")});
    QVERIFY(unsorted.out.indexOf("page10.png") < unsorted.out.indexOf("page2.png"));
}

void TestCli::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("no output") << QStringList{QStringLiteral("a.png")} << QByteArray("-o OUTPUT");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("-o"), QStringLiteral("x"),
                                                   QStringLiteral("--colour")}
                                    << QByteArray("colour");
    QTest::newRow("seed not a number") << QStringList{QStringLiteral("-o"), QStringLiteral("x"),
                                                      QStringLiteral("--seed"), QStringLiteral("ten")}
                                       << QByteArray("--seed");
    QTest::newRow("seed too large") << QStringList{QStringLiteral("-o"), QStringLiteral("x"),
                                                   QStringLiteral("--seed"), QStringLiteral("4294967296")}
                                    << QByteArray("--seed");
    QTest::newRow("null without a list")
        << QStringList{QStringLiteral("-o"), QStringLiteral("x"), QStringLiteral("--null")}
        << QByteArray("--files-from");
    QTest::newRow("missing list") << QStringList{QStringLiteral("-o"), QStringLiteral("x"),
                                                 QStringLiteral("--files-from"),
                                                 QStringLiteral("/no/such/list")}
                                  << QByteArray("/no/such/list");
    QTest::newRow("title with a line break")
        << QStringList{QStringLiteral("-o"), QStringLiteral("x"), QStringLiteral("--title"),
                       QStringLiteral("a\nb")}
        << QByteArray("\"E-Book title:\" holds characters a publication script cannot hold: U+000A");
    QTest::newRow("page outside Windows-1252")
        << QStringList{QStringLiteral("-o"), QStringLiteral("x"), QStringLiteral("ok.png"),
                       QString::fromUtf8("日本.png")}
        << QByteArray("Page 2 (");
    QTest::newRow("missing pictures are all listed")
        << QStringList{QStringLiteral("-o"), QStringLiteral("x"),           QStringLiteral("--check-files"),
                       QStringLiteral("/"),  QStringLiteral("/no/one.png"), QStringLiteral("/no/two.png")}
        << QByteArray("page 2: /no/one.png\n  page 3: /no/two.png");
}

void TestCli::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);

    QVERIFY(QDir::setCurrent(m_dir->path()));
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), run.err.constData());
    QVERIFY(run.out.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty()); // nothing written
}

void TestCli::writeFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("as");
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("missing folder") << "nowhere/book.pub" << int(ChildAs::Caller)
                                    << QByteArray("No such file or directory");
    QTest::newRow("a folder") << "folder" << int(ChildAs::Caller) << QByteArray("directory");
    QTest::newRow("read-only folder")
        << "read-only/book.pub" << int(ChildAs::Nobody) << QByteArray("Permission denied");
    QTest::newRow("file-size limit") << "old.pub" << int(ChildAs::SmallFileLimit)
                                     << QByteArray("File too large");
}

void TestCli::writeFailures()
{
    QFETCH(QString, name);
    QFETCH(int, as);
    QFETCH(QByteArray, reason);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("read-only")));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("read-only")),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    writeWholeFile(path(QStringLiteral("old.pub")), "old bytes");
    const QStringList before =
        QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const Run run =
        runCli({QStringLiteral("-o"), path(name), QStringLiteral("--files-from"), QStringLiteral("-")},
               pathList(2000, '\n'), ChildAs(as));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(path(name).toUtf8()), run.err.constData());
    QVERIFY2(run.err.contains(reason), run.err.constData());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    QCOMPARE(readWholeFile(path(QStringLiteral("old.pub"))), QByteArray("old bytes"));
}

void TestCli::standardOutputFailure()
{
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(LUMVREX_CLI),
                  {QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("a.png")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("No space left on device"));
}

void TestCli::pageLimit()
{
    const QString target = path(QStringLiteral("big.pub"));
    const Run tooMany =
        runCli({QStringLiteral("-o"), target, QStringLiteral("--files-from"), QStringLiteral("-")},
               pathList(32768, '\n'));
    QCOMPARE(tooMany.exitCode, 2);
    QVERIFY2(tooMany.err.contains("32767"), tooMany.err.constData());
    QVERIFY(!QFile::exists(target));

    const Run most = runCli({QStringLiteral("-o"), target, QStringLiteral("--null"),
                             QStringLiteral("--files-from"), QStringLiteral("-")},
                            pathList(32767, '\0'));
    QCOMPARE(most.exitCode, 0);
    const QList<QByteArray> lines = scriptLines(readWholeFile(target));
    QCOMPARE(lines.size(), 69 + 28 * 32767);
    QCOMPARE(lines[69 + 28 * 32766], QByteArray("NewPage=page32766"));
}

void TestCli::spanishLocaleWritesCommas()
{
    const Run run = runCli({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--seed"),
                            QStringLiteral("1"), QStringLiteral("a.png")},
                           {}, ChildAs::Caller, {QStringLiteral("LC_ALL=es_ES.UTF-8")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(scriptLines(run.out)[69 + 5], QByteArray("PageEffect = 6,25533"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
