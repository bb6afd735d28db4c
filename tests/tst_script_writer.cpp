#include "publication/script_writer.h"
#include "test_support.h"

#include <QBuffer>
#include <QSet>
#include <QTest>

namespace {

PublicationInputs albumInputs()
{
    PublicationInputs in;
    in.title = QString::fromUtf8("Mi álbum de fotos");
    in.backColor = QStringLiteral("16777215");
    in.width = QStringLiteral("800");
    in.height = QStringLiteral("600");
    in.icon = QStringLiteral("C:\\Iconos\\libro.ico");
    in.pages = QStringList{QString::fromUtf8("C:\\Fotos\\playa en Cádiz.jpg"),
                           QString::fromUtf8("C:\\Fotos\\montaña 2.bmp")};
    return in;
}

QByteArray script(const PublicationInputs &inputs, PageEffectSource &effects,
                  const QLocale &locale = QLocale::c())
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!writePublicationScript(buffer, inputs, effects, locale, &error))
        qFatal("writing to memory failed: %s", qPrintable(error));
    return buffer.data();
}

QByteArray script(const PublicationInputs &inputs)
{
    FixedEffectSource effects({0.5f});
    return script(inputs, effects);
}

// Accepts the first `room` bytes, then fails like a full disk.
class FullDevice final : public QIODevice
{
public:
    explicit FullDevice(qint64 room)
        : m_room(room)
    {
        open(QIODevice::WriteOnly);
    }
    qint64 accepted = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        if (accepted + len > m_room) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        accepted += len;
        return len;
    }

private:
    qint64 m_room;
};

} // namespace

class TestScriptWriter : public QObject
{
    Q_OBJECT
private slots:
    void emptyListIsTheMasterBlockAlone();
    void twoPagesMatchTheExpectedBytes();
    void lineCounts_data();
    void lineCounts();
    void fieldsAppearWhereTheyBelong_data();
    void fieldsAppearWhereTheyBelong();
    void textIsWindows1252();
    void reseedsBeforeEachPageAndDrawsOnce();
    void effectsUseTheLocaleSeparator();
    void runsDifferOnlyInPageEffectLines();
    void writeFailureIsReported();
};

void TestScriptWriter::emptyListIsTheMasterBlockAlone()
{
    const QByteArray bytes = script(PublicationInputs{});
    QCOMPARE(bytes, expectedScript(QStringLiteral("empty-list.pub.txt")));
    QVERIFY(bytes.endsWith("MasterPage\r\n"));
}

void TestScriptWriter::twoPagesMatchTheExpectedBytes()
{
    FixedEffectSource effects({0.5f, 0.25f});
    QCOMPARE(script(albumInputs(), effects), expectedScript(QStringLiteral("two-pages.pub.txt")));
}

void TestScriptWriter::lineCounts_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("eleven") << 11;
}

void TestScriptWriter::lineCounts()
{
    QFETCH(int, pages);
    PublicationInputs in = albumInputs();
    in.pages.clear();
    for (int i = 0; i < pages; ++i)
        in.pages.append(QStringLiteral("page %1.png").arg(i));
    const QList<QByteArray> lines = scriptLines(script(in));
    QCOMPARE(lines.size(), 69 + 28 * pages);
    // Width and height: once in the master block and once per page.
    QCOMPARE(lines.count("ScreenWidth = 800") + lines.count("X2 = 800"), 1 + pages);
    QCOMPARE(lines.count("ScreenHeight = 600") + lines.count("Y2 = 600"), 1 + pages);
    for (int i = 0; i < pages; ++i) {
        QCOMPARE(lines[69 + 28 * i], QByteArray("NewPage=page") + QByteArray::number(i));
        QCOMPARE(lines[69 + 28 * i + 24], QByteArray("FileName=page ") + QByteArray::number(i) + ".png");
    }
}

void TestScriptWriter::fieldsAppearWhereTheyBelong_data()
{
    QTest::addColumn<QString>("value"); // every field holds this text
    QTest::newRow("filled") << QStringLiteral("v 1");
    QTest::newRow("empty: lines end right after their prefix") << QString();
}

void TestScriptWriter::fieldsAppearWhereTheyBelong()
{
    QFETCH(QString, value);
    PublicationInputs in{value, value, value, value, value, {QStringLiteral("C:\\My Pictures\\one two.jpg")}};
    const QList<QByteArray> lines = scriptLines(script(in));
    const QByteArray v = value.toLatin1();
    const std::pair<int, QByteArray> expected[] = {
        {2, "Title = " + v},           {7, "ScreenWidth = " + v},
        {8, "ScreenHeight = " + v},    {20, "Icon=" + v},
        {69 + 12, "X2 = " + v},        {69 + 13, "Y2 = " + v},
        {69 + 18, "FillColor = " + v}, {69 + 24, "FileName=C:\\My Pictures\\one two.jpg"},
    };
    for (const auto &[index, line] : expected)
        QCOMPARE(lines[index], line);
}

void TestScriptWriter::textIsWindows1252()
{
    const QByteArray bytes = script(albumInputs());
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = scriptLines(bytes);
    QCOMPARE(lines[2], "Title = Mi \xE1lbum de fotos");
    QCOMPARE(lines[39], "L_CANCEL = cancelar");
    QCOMPARE(lines[40], "L_YES = S\xED");
    QCOMPARE(lines[52],
             "L_PWORDERROR=\xA1"
             "Esa no es la contrase\xF1"
             "a correcta!");
    QCOMPARE(lines[56],
             "L_ABORTFUNCTION=\xBF"
             "Desea cancelar esta funci\xF3n?");
    QCOMPARE(lines[58].size(), 167);
    QCOMPARE(lines[69 + 24],
             "FileName=C:\\Fotos\\playa en C\xE1"
             "diz.jpg");
}

void TestScriptWriter::reseedsBeforeEachPageAndDrawsOnce()
{
    FixedEffectSource effects({0.1f});
    PublicationInputs in = albumInputs();
    in.pages.append(QStringLiteral("third.png"));
    script(in, effects);
    QCOMPARE(effects.calls, QStringLiteral("RNRNRN"));
}

void TestScriptWriter::effectsUseTheLocaleSeparator()
{
    FixedEffectSource effects({0.5f, 0.25f});
    const QList<QByteArray> lines =
        scriptLines(script(albumInputs(), effects, QLocale(QStringLiteral("es_ES"))));
    QCOMPARE(lines[69 + 5], "PageEffect = 7,5");
    QCOMPARE(lines[69 + 28 + 5], "PageEffect = 3,75");
}

void TestScriptWriter::runsDifferOnlyInPageEffectLines()
{
    ClockEffectSource first;
    ClockEffectSource second;
    PublicationInputs in = albumInputs();
    for (int i = 0; i < 40; ++i)
        in.pages.append(QStringLiteral("p%1.png").arg(i));
    const QList<QByteArray> a = scriptLines(script(in, first));
    const QList<QByteArray> b = scriptLines(script(in, second));
    QCOMPARE(a.size(), b.size());
    int differing = 0;
    QSet<QByteArray> effectsSeen;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].startsWith("PageEffect = "))
            effectsSeen.insert(a[i]);
        if (a[i] == b[i])
            continue;
        QVERIFY2(a[i].startsWith("PageEffect = ") && b[i].startsWith("PageEffect = "), a[i].constData());
        ++differing;
    }
    QVERIFY(differing > 0);
    // Reseeding from the clock between pages must not repeat one number.
    QVERIFY(effectsSeen.size() > 30);
}

void TestScriptWriter::writeFailureIsReported()
{
    PublicationInputs in = albumInputs();
    for (int i = 0; i < 5000; ++i)
        in.pages.append(QStringLiteral("picture number %1.png").arg(i));
    FullDevice device(qint64(100) * 1024);
    FixedEffectSource effects({0.3f});
    QString error;
    QVERIFY(!writePublicationScript(device, in, effects, QLocale::c(), &error));
    QCOMPARE(error, QStringLiteral("No space left on device"));
    // Writing stopped at the failure instead of drawing effects for every page.
    QVERIFY(effects.calls.size() < qsizetype(2) * 5000);
}

QTEST_APPLESS_MAIN(TestScriptWriter)
#include "tst_script_writer.moc"
