#include "publication/page_effect_text.h"

#include "runtime/single_text.h"

float pageEffectValue(float unit)
{
    return unit * 15.0f;
}

QString pageEffectText(float effect, QChar decimalSeparator)
{
    QString text = singleToText(effect, decimalSeparator);
    if (text != u"15")
        return text;
    return QStringLiteral("14") + decimalSeparator + QStringLiteral("99999");
}

QString pageEffectText(float effect, const QLocale &locale)
{
    return pageEffectText(effect, scriptDecimalSeparator(locale));
}
