#pragma once

#include <QLocale>
#include <QString>

// Text of a single-precision number the way a BASIC runtime prints it:
// correctly rounded to at most seven significant digits, trailing zeros
// dropped, "0.5" below one, no leading blank and no grouping, and the
// decimal separator of the locale. Magnitudes below 0.0001 (and from 1E+07
// up) take an exponent form such as "8.940697E-07".
QString singleToText(float value, const QLocale &locale = QLocale());
QString singleToText(float value, QChar decimalSeparator);

// The locale's decimal separator when Windows-1252 can hold it as one byte,
// otherwise a point: scripts are 8-bit text.
QChar scriptDecimalSeparator(const QLocale &locale);
