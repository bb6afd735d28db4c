#include "publication/page_effect_text.h"

#include "runtime/single_text.h"

float pageEffectValue(float unit)
{
    return unit * 15.0f;
}

QString pageEffectText(float effect, const QLocale &locale)
{
    const QString text = singleToText(effect, locale);
    if (text != u"15")
        return text;
    return QStringLiteral("14") + scriptDecimalSeparator(locale) + QStringLiteral("99999");
}
