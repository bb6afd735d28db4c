#include "runtime/windows1252.h"

#include <QStringEncoder>
#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT
private slots:
    void agreesWithIcuOverTheWholeBasicPlane();
    void unrepresentable_data();
    void unrepresentable();
    void encodeReplacesWhatItCannotHold();
};

void TestWindows1252::agreesWithIcuOverTheWholeBasicPlane()
{
    int representable = 0;
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue; // not characters on their own
        const QChar ch{char16_t(code)};
        QStringEncoder icu("windows-1252");
        QVERIFY(icu.isValid());
        const QByteArray icuBytes = icu.encode(QStringView(&ch, 1));
        const int ours = windows1252::byteFor(char16_t(code));
        if (icu.hasError()) {
            QVERIFY2(ours < 0, qPrintable(QString::number(uint(code), 16)));
        } else {
            QCOMPARE(icuBytes.size(), 1);
            QVERIFY2(ours == quint8(icuBytes[0]), qPrintable(QString::number(uint(code), 16)));
            ++representable;
        }
    }
    QCOMPARE(representable, 256); // each byte once; the five unassigned ones stand for C1
}

void TestWindows1252::unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<char32_t>>("expected");

    QTest::newRow("plain ascii") << QStringLiteral("C:\\Fotos\\a b.jpg") << QList<char32_t>{};
    QTest::newRow("latin-1 and 0x80 range") << QString::fromUtf8("ñáü€…œŸ") << QList<char32_t>{};
    QTest::newRow("controls are representable") << QStringLiteral("a\tb\r\n") << QList<char32_t>{};
    QTest::newRow("Greek and a check mark") << QString::fromUtf8("αx✓") << QList<char32_t>{0x3B1, 0x2713};
    QTest::newRow("emoji is one code point") << QString::fromUtf8("a😀b") << QList<char32_t>{0x1F600};
    QTest::newRow("lone high surrogate")
        << (QStringLiteral("a") + QChar(0xD83D) + u'b') << QList<char32_t>{0xD83D};
    QTest::newRow("lone low surrogate at end")
        << (QStringLiteral("a") + QChar(0xDE00)) << QList<char32_t>{0xDE00};
    QTest::newRow("C1 without a glyph") << QString(QChar(0x80)) << QList<char32_t>{0x80};
}

void TestWindows1252::unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(QList<char32_t>, expected);
    QCOMPARE(windows1252::unrepresentable(text), expected);
}

void TestWindows1252::encodeReplacesWhatItCannotHold()
{
    QByteArray out("x");
    windows1252::append(out, QString::fromUtf8("¿Sí? €"));
    QCOMPARE(out, QByteArray("x\xBFS\xED? \x80"));
    windows1252::append(out, QString::fromUtf8("a✓b"));
    QCOMPARE(out,
             QByteArray("x\xBFS\xED? \x80"
                        "a?b"));
}

QTEST_APPLESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
