#include "publication/create_publication.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestCreatePublication : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void asksForThePathThenSaysFinished();
    void noAnswerDoesNothing_data();
    void noAnswerDoesNothing();
    void failuresAreReportedAndCanBeRetried();
    void unwritableInputIsNamed();
    void relativePathIsTakenFromTheCurrentFolder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeDialogs m_dialogs;
    FixedEffectSource m_effects{{0.5f, 0.25f}};
};

void TestCreatePublication::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs = FakeDialogs{};
    m_effects = FixedEffectSource({0.5f, 0.25f});
}

void TestCreatePublication::asksForThePathThenSaysFinished()
{
    const QString target = m_dir->filePath(QStringLiteral("My book")); // no ".pub" added
    m_dialogs.answer = target;
    PublicationInputs in;
    in.pages = QStringList{QStringLiteral("a.png"), QStringLiteral("a.png")};

    QCOMPARE(createPublication(in, m_dialogs, m_effects, QLocale::c()), CreateOutcome::Finished);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown[0].kind, QStringLiteral("ask"));
    QCOMPARE(m_dialogs.shown[0].title, QStringLiteral("C:\\MyEBook.pub"));
    QCOMPARE(m_dialogs.shown[0].text, QStringLiteral("Output file:"));
    QCOMPARE(m_dialogs.shown[1].kind, QStringLiteral("inform"));
    QCOMPARE(m_dialogs.shown[1].title, QStringLiteral("Lumvrex"));
    QCOMPARE(m_dialogs.shown[1].text, QStringLiteral("Finished!"));
    QCOMPARE(scriptLines(readWholeFile(target)).size(), 69 + 2 * 28);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("My book")});
}

void TestCreatePublication::noAnswerDoesNothing_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::newRow("cancel") << std::optional<QString>();
    QTest::newRow("OK with nothing typed") << std::optional<QString>(QString());
}

void TestCreatePublication::noAnswerDoesNothing()
{
    QFETCH(std::optional<QString>, answer);
    m_dialogs.answer = answer;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const CreateOutcome outcome = createPublication(PublicationInputs{}, m_dialogs, m_effects);
    QDir::setCurrent(before);

    QCOMPARE(outcome, CreateOutcome::Cancelled);
    QCOMPARE(m_dialogs.shown.size(), 1); // the question only: no message
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(m_effects.calls.isEmpty());
}

void TestCreatePublication::failuresAreReportedAndCanBeRetried()
{
    const QString missing = m_dir->filePath(QStringLiteral("not here/book.pub"));
    m_dialogs.answer = missing;
    PublicationInputs in;
    in.pages = QStringList{QStringLiteral("a.png")};

    QCOMPARE(createPublication(in, m_dialogs, m_effects), CreateOutcome::Failed);
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown[1].kind, QStringLiteral("warn"));
    QCOMPARE(m_dialogs.shown[1].title, QStringLiteral("Lumvrex"));
    QVERIFY(m_dialogs.shown[1].text.contains(QDir::toNativeSeparators(missing)));
    QVERIFY(m_dialogs.shown[1].text.contains(QStringLiteral("No such file or directory")));

    m_dialogs.shown.clear();
    m_dialogs.answer = m_dir->filePath(QStringLiteral("book.pub"));
    QCOMPARE(createPublication(in, m_dialogs, m_effects), CreateOutcome::Finished);
    QCOMPARE(m_dialogs.shown.constLast().text, QStringLiteral("Finished!"));
}

void TestCreatePublication::unwritableInputIsNamed()
{
    const QString target = m_dir->filePath(QStringLiteral("book.pub"));
    m_dialogs.answer = target;
    PublicationInputs in;
    in.title = QString::fromUtf8("Mi libro ✓");

    QCOMPARE(createPublication(in, m_dialogs, m_effects), CreateOutcome::Refused);
    QCOMPARE(m_dialogs.shown.constLast().kind, QStringLiteral("warn"));
    QVERIFY(m_dialogs.shown.constLast().text.contains(QStringLiteral("\"E-Book title:\"")));
    QVERIFY(m_dialogs.shown.constLast().text.contains(QStringLiteral("U+2713")));
    QVERIFY(!QFile::exists(target));
}

void TestCreatePublication::relativePathIsTakenFromTheCurrentFolder()
{
    m_dialogs.answer = QStringLiteral("relative.pub");
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    const CreateOutcome outcome = createPublication(PublicationInputs{}, m_dialogs, m_effects);
    QDir::setCurrent(before);
    QCOMPARE(outcome, CreateOutcome::Finished);
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("relative.pub"))));
}

QTEST_GUILESS_MAIN(TestCreatePublication)
#include "tst_create_publication.moc"
