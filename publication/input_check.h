#pragma once

#include "publication/publication_inputs.h"

#include <QList>
#include <QString>

// A field or page that cannot go into a script: it holds characters that
// Windows-1252 lacks, or control characters (other than tab) that would
// break its line apart.
struct InputProblem
{
    QString place; // e.g. the field "E-Book title:", or page 3 (/pictures/a.png)
    QList<char32_t> characters;
};

// Every field and page that cannot be written, fields first, then pages in
// order.
QList<InputProblem> findUnwritableInputs(const PublicationInputs &inputs);

// One line per problem; after maxShown problems, a line that counts the rest.
QString describeProblems(const QList<InputProblem> &problems, qsizetype maxShown = 10);
