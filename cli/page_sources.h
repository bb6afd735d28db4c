#pragma once

#include <QString>
#include <QStringList>

// Appends the paths listed in a file ("-" for standard input) to *paths: one
// per line with a trailing CR dropped, or NUL-separated; empty entries are
// skipped. The appended strings share the memory of *text, which must outlive
// them (tens of thousands of small copies cost more than the rest of a run).
// False with *error set when the list cannot be read.
bool readPathList(const QString &source, bool nullSeparated, QString *text, QStringList *paths,
                  QString *error);

// Sorted so that digit runs compare by value ("page2" before "page10");
// entries that compare equal keep their order.
void sortNaturally(QStringList &paths);

// One line per page whose file does not exist: "page N: PATH".
QStringList missingPages(const QStringList &paths);
