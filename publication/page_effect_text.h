#pragma once

#include <QLocale>
#include <QString>

// A page's effect number: a unit value in [0, 1) scaled to [0, 15) in single
// precision.
float pageEffectValue(float unit);

// The effect as written after "PageEffect = ". Seven significant digits can
// round a value just below 15 up to "15", which the authoring program does
// not accept; that case is written as the largest seven-digit value below.
QString pageEffectText(float effect, QChar decimalSeparator);
QString pageEffectText(float effect, const QLocale &locale = QLocale());
