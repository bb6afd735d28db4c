#pragma once

#include <QString>
#include <QStringList>

// What a publication script is made from: five texts written exactly as
// typed, and the pictures, one page each, in order.
struct PublicationInputs
{
    QString title;
    QString backColor;
    QString width;
    QString height;
    QString icon;
    QStringList pages;
};

// Page numbers are signed 16-bit in the authoring program.
inline constexpr qsizetype kMaxPages = 32767;
