#include "runtime/single_text.h"

#include "runtime/windows1252.h"

#include <array>
#include <charconv>
#include <cmath>

QChar scriptDecimalSeparator(const QLocale &locale)
{
    const QString separator = locale.decimalPoint();
    if (separator.size() == 1 && windows1252::byteFor(separator[0].unicode()) >= 0x20)
        return separator[0];
    return u'.';
}

QString singleToText(float value, const QLocale &locale)
{
    return singleToText(value, scriptDecimalSeparator(locale));
}

QString singleToText(float value, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");

    // to_chars is exact and correctly rounded; %g style switches to an
    // exponent below 1E-04 and from 1E+07, which is the form wanted here.
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 7);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());

    // Like printf, the exponent has a sign and at least two digits: "E-07".
    text.replace(u'e', u'E');
    if (text == u"-0")
        text = QStringLiteral("0");

    if (decimalSeparator != u'.')
        text.replace(u'.', decimalSeparator);
    return text;
}
