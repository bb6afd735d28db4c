#include "publication/publish.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

PublicationInputs manyPages(int count)
{
    PublicationInputs in;
    in.title = QStringLiteral("Album");
    for (int i = 0; i < count; ++i)
        in.pages.append(QStringLiteral("/pictures/holiday/picture number %1.jpg").arg(i));
    return in;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

const QByteArray kOldBytes("old script, to be kept\r\n");

} // namespace

class TestPublish : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void writesAndReplacesAnExistingFile();
    void unopenablePaths_data();
    void unopenablePaths();
    void failureWhileWritingKeepsTheOldFile();
    void unwritableInput_data();
    void unwritableInput();
    void tooManyPagesAreRefused();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestPublish::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Reachable by "nobody" for the read-only cases.
    QFile::setPermissions(m_dir->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                              | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
}

void TestPublish::writesAndReplacesAnExistingFile()
{
    const QString target = path(QStringLiteral("book"));
    writeWholeFile(target, kOldBytes);
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, permissions));

    FixedEffectSource effects({0.5f});
    const PublishResult result = publishToFile(target, PublicationInputs{}, effects, QLocale::c());
    QCOMPARE(result.status, PublishResult::Written);
    QCOMPARE(readWholeFile(target), expectedScript(QStringLiteral("empty-list.pub.txt")));
    QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             permissions);
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("book")}); // no extension added, no leftovers
}

void TestPublish::unopenablePaths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("asNobody");

    QTest::newRow("missing folder") << "no such folder/book.pub"
                                    << "No such file or directory" << false;
    QTest::newRow("a folder as target") << "folder"
                                        << "directory" << false;
    QTest::newRow("read-only folder") << "read-only/book.pub"
                                      << "Permission denied" << true;
    QTest::newRow("read-only existing file") << "open/old.pub"
                                             << "Permission denied" << true;
    QTest::newRow("name too long") << QString(300, u'n') << "File name too long" << false;
}

void TestPublish::unopenablePaths()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QFETCH(bool, asNobody);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("read-only")));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("read-only")),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("open")));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("open")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                      | QFile::WriteOther | QFile::ExeOther));
    writeWholeFile(path(QStringLiteral("open/old.pub")), kOldBytes);
    QVERIFY(QFile::setPermissions(path(QStringLiteral("open/old.pub")), QFile::ReadOwner | QFile::ReadOther));
    const QStringList before = entries(m_dir->path()) + entries(path(QStringLiteral("open")));

    PublishResult result;
    {
        std::optional<Unprivileged> unprivileged;
        if (asNobody)
            unprivileged.emplace();
        FixedEffectSource effects({0.5f});
        result = publishToFile(path(name), manyPages(3), effects);
    }
    QCOMPARE(result.status, PublishResult::WriteFailed);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(path(name))), qPrintable(result.message));
    QVERIFY2(result.message.contains(reason, Qt::CaseInsensitive), qPrintable(result.message));
    QCOMPARE(entries(m_dir->path()) + entries(path(QStringLiteral("open"))), before);
    QCOMPARE(readWholeFile(path(QStringLiteral("open/old.pub"))), kOldBytes);
}

void TestPublish::failureWhileWritingKeepsTheOldFile()
{
    const QString target = path(QStringLiteral("book.pub"));
    writeWholeFile(target, kOldBytes);

    PublishResult result;
    {
        FileSizeLimit limit(qint64(64) * 1024);
        FixedEffectSource effects({0.5f});
        result = publishToFile(target, manyPages(3000), effects);
    }
    QCOMPARE(result.status, PublishResult::WriteFailed);
    QVERIFY2(result.message.contains(target), qPrintable(result.message));
    QVERIFY2(result.message.contains(QStringLiteral("File too large")), qPrintable(result.message));
    QCOMPARE(readWholeFile(target), kOldBytes);
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("book.pub")});

    // Nothing is left in a state that stops the next attempt.
    FixedEffectSource effects({0.5f});
    QCOMPARE(publishToFile(target, manyPages(3000), effects).status, PublishResult::Written);
    QCOMPARE(scriptLines(readWholeFile(target)).size(), 69 + 28 * 3000);
}

void TestPublish::unwritableInput_data()
{
    QTest::addColumn<int>("field"); // 0..4 the fields, 5 the second page
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("shown");

    const QString check = QString::fromUtf8("ok ✓");
    QTest::newRow("title") << 0 << check << "\"E-Book title:\"" << QString::fromUtf8("\"✓\" (U+2713)");
    QTest::newRow("back colour") << 1 << "1\n2"
                                 << "\"Back color:\""
                                 << "U+000A";
    QTest::newRow("width") << 2 << "80\r0"
                           << "\"Resolution (w,h):\" (width)"
                           << "U+000D";
    QTest::newRow("height") << 3 << QString::fromUtf8("6€0😀") << "\"Resolution (w,h):\" (height)"
                            << QString::fromUtf8("\"😀\" (U+1F600)");
    QTest::newRow("icon") << 4 << QString(QChar(0x1B)) + QStringLiteral("[0m") << "\"Icon:\""
                          << "U+001B";
    QTest::newRow("page") << 5 << QString::fromUtf8("/fotos/Ελλάδα.jpg") << "Page 2 (/fotos/"
                          << QString::fromUtf8("\"Ε\" (U+0395)");
}

void TestPublish::unwritableInput()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(QString, shown);

    PublicationInputs in = manyPages(3);
    QString *fields[] = {&in.title, &in.backColor, &in.width, &in.height, &in.icon, &in.pages[1]};
    *fields[field] = text;

    const QString target = path(QStringLiteral("book.pub"));
    writeWholeFile(target, kOldBytes);
    FixedEffectSource effects({0.5f});
    const PublishResult result = publishToFile(target, in, effects);
    QCOMPARE(result.status, PublishResult::BadInput);
    QVERIFY2(result.message.contains(named), qPrintable(result.message));
    QVERIFY2(result.message.contains(shown), qPrintable(result.message));
    QCOMPARE(readWholeFile(target), kOldBytes);
    QVERIFY(effects.calls.isEmpty());

    // A tab is fine anywhere.
    *fields[field] = QStringLiteral("a\tb");
    QCOMPARE(publishToFile(target, in, effects).status, PublishResult::Written);
}

void TestPublish::tooManyPagesAreRefused()
{
    const QString target = path(QStringLiteral("book.pub"));
    FixedEffectSource effects({0.5f});
    const PublishResult result = publishToFile(target, manyPages(32768), effects);
    QCOMPARE(result.status, PublishResult::BadInput);
    QVERIFY(result.message.contains(QStringLiteral("32767")));
    QVERIFY(!QFile::exists(target));
    QCOMPARE(publishToFile(target, manyPages(32767), effects).status, PublishResult::Written);
}

QTEST_GUILESS_MAIN(TestPublish)
#include "tst_publish.moc"
