#pragma once

#include "publication/publication_inputs.h"

#include <QIODevice>
#include <QLocale>
#include <QString>

class PageEffectSource;

// Writes the whole publication script: the 69 lines of the master block,
// then 28 lines for each page. The inputs must have passed
// findUnwritableInputs() and hold at most kMaxPages pages. Returns false with
// the device's reason in *error when a write failed.
bool writePublicationScript(QIODevice &device, const PublicationInputs &inputs, PageEffectSource &effects,
                            const QLocale &locale, QString *error);
