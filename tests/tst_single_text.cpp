#include "publication/page_effect_text.h"
#include "runtime/page_effect_source.h"
#include "runtime/single_text.h"

#include <QTest>

#include <cmath>

class TestSingleText : public QObject
{
    Q_OBJECT
private slots:
    void singleToText_data();
    void singleToText();
    void effectText_data();
    void effectText();
    void effectValueStaysBelowFifteen();
};

void TestSingleText::singleToText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString c = QStringLiteral("C");
    QTest::newRow("zero") << 0.0f << c << "0";
    QTest::newRow("negative zero") << -0.0f << c << "0";
    QTest::newRow("whole") << 7.0f << c << "7";
    QTest::newRow("half, with a leading zero") << 0.5f << c << "0.5";
    QTest::newRow("seven digits kept") << 7.234567f << c << "7.234567";
    QTest::newRow("eighth digit rounded") << 1.2345678f << c << "1.234568";
    QTest::newRow("trailing zeros dropped") << 2.5f << c << "2.5";
    QTest::newRow("just below 15 rounds up") << std::nextafter(15.0f, 0.0f) << c << "15";
    QTest::newRow("0.0001 is still plain") << 0.0001f << c << "0.0001";
    QTest::newRow("below 0.0001 takes an exponent") << 0x1p-24f * 15.0f << c << "8.940697E-07";
    QTest::newRow("large takes an exponent") << 12345678.0f << c << "1.234568E+07";
    QTest::newRow("seven-digit whole number") << 1234567.0f << c << "1234567";
    QTest::newRow("negative") << -2.25f << c << "-2.25";
    QTest::newRow("Spanish comma") << 1.5f << "es_ES"
                                   << "1,5";
    QTest::newRow("German comma with exponent") << 0x1p-24f * 15.0f << "de_DE"
                                                << "8,940697E-07";
    QTest::newRow("English point") << 1.5f << "en_US"
                                   << "1.5";
    QTest::newRow("Arabic separator is not 8-bit: point") << 1.5f << "ar_EG"
                                                          << "1.5";
}

void TestSingleText::singleToText()
{
    QFETCH(float, value);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(::singleToText(value, QLocale(locale)), expected);
}

void TestSingleText::effectText_data()
{
    QTest::addColumn<float>("effect");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString c = QStringLiteral("C");
    QTest::newRow("0") << 0.0f << c << "0";
    QTest::newRow("1.5") << 1.5f << c << "1.5";
    QTest::newRow("7.234567") << 7.234567f << c << "7.234567";
    QTest::newRow("14.99999 stays") << 14.99999f << c << "14.99999";
    QTest::newRow("largest below 15") << std::nextafter(15.0f, 0.0f) << c << "14.99999";
    QTest::newRow("14.999995 rounds to 15") << 14.999995f << c << "14.99999";
    QTest::newRow("14.999995 in Spanish") << 14.999995f << "es_ES"
                                          << "14,99999";
    QTest::newRow("tiny") << 8.940697e-07f << c << "8.940697E-07";
    QTest::newRow("comma in Spanish") << 7.234567f << "es_ES"
                                      << "7,234567";
}

void TestSingleText::effectText()
{
    QFETCH(float, effect);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(pageEffectText(effect, QLocale(locale)), expected);
}

void TestSingleText::effectValueStaysBelowFifteen()
{
    // The extremes of a 32-bit draw.
    QCOMPARE(pageEffectValue(unitFromBits(0)), 0.0f);
    const float largest = pageEffectValue(unitFromBits(0xFFFFFFFFu));
    QVERIFY(largest < 15.0f);
    QCOMPARE(pageEffectText(largest, QLocale::c()), QStringLiteral("14.99999"));
    QCOMPARE(pageEffectText(pageEffectValue(unitFromBits(0x100u)), QLocale::c()),
             QStringLiteral("8.940697E-07"));
    QCOMPARE(pageEffectText(pageEffectValue(unitFromBits(0x80000000u)), QLocale::c()), QStringLiteral("7.5"));
}

QTEST_APPLESS_MAIN(TestSingleText)
#include "tst_single_text.moc"
