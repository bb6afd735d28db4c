#include "cli/page_sources.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

bool readPathList(const QString &source, bool nullSeparated, QString *text, QStringList *paths,
                  QString *error)
{
    QFile file;
    const bool opened = source == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read the list \"%1\": %2").arg(source, file.errorString());
        return false;
    }

    // File names are UTF-8 here, as Qt takes them on Unix.
    *text = QString::fromUtf8(bytes);
    const QChar separator = nullSeparated ? QChar(u'\0') : QChar(u'\n');
    for (QStringView entry : QStringView(*text).tokenize(separator, Qt::SkipEmptyParts)) {
        if (!nullSeparated && entry.endsWith(u'\r'))
            entry.chop(1);
        if (!entry.isEmpty())
            paths->append(QString::fromRawData(entry.data(), entry.size()));
    }
    return true;
}

namespace {

// Digit runs compare by value, everything else by case-folded character;
// names equal that way fall back to plain comparison, so the order is total
// and the same in every locale.
int compareNaturally(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i;
            const qsizetype startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            QStringView runA = a.sliced(startA, i - startA);
            QStringView runB = b.sliced(startB, j - startB);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.sliced(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.sliced(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int byDigits = runA.compare(runB); byDigits != 0)
                return byDigits;
            continue;
        }
        const char32_t foldedA = a[i].toCaseFolded().unicode();
        const char32_t foldedB = b[j].toCaseFolded().unicode();
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

} // namespace

void sortNaturally(QStringList &paths)
{
    std::stable_sort(paths.begin(), paths.end(),
                     [](const QString &a, const QString &b) { return compareNaturally(a, b) < 0; });
}

QStringList missingPages(const QStringList &paths)
{
    QStringList missing;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!QFileInfo::exists(paths[i]))
            missing.append(QStringLiteral("page %1: %2").arg(i + 1).arg(paths[i]));
    }
    return missing;
}
