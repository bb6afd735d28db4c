#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Paths listed in a file ("-" for standard input): one per line with a
// trailing CR dropped, or NUL-separated; empty entries are skipped. nullopt
// with *error set when the list cannot be read.
std::optional<QStringList> readPathList(const QString &source, bool nullSeparated, QString *error);

// Sorted so that digit runs compare by value ("page2" before "page10");
// entries that compare equal keep their order.
void sortNaturally(QStringList &paths);

// One line per page whose file does not exist: "page N: PATH".
QStringList missingPages(const QStringList &paths);
