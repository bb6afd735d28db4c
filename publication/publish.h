#pragma once

#include "publication/publication_inputs.h"

#include <QIODevice>
#include <QLocale>
#include <QString>

class PageEffectSource;

struct PublishResult
{
    enum Status { Written, BadInput, WriteFailed };
    Status status = Written;
    QString message; // for people; empty when written
};

// Why these inputs cannot make a script (too many pages, or characters a
// script cannot hold), or a result with status Written when they can.
PublishResult checkPublicationInputs(const PublicationInputs &inputs);

// Checks the inputs, then writes the script to path atomically: an existing
// file is replaced only by a complete script and otherwise keeps its bytes.
PublishResult publishToFile(const QString &path, const PublicationInputs &inputs, PageEffectSource &effects,
                            const QLocale &locale = QLocale());

// Checks the inputs, then writes the script to an open device (for example
// standard output); displayName names it in messages.
PublishResult publishToDevice(QIODevice &device, const QString &displayName, const PublicationInputs &inputs,
                              PageEffectSource &effects, const QLocale &locale = QLocale());
