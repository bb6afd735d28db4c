#include "publication/input_check.h"

#include "runtime/windows1252.h"

#include <QDir>

namespace {

bool isWritable(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if ((unit < 0x20 && unit != u'\t') || windows1252::byteFor(unit) < 0)
            return false;
    }
    return true;
}

QList<char32_t> unwritableCharacters(QStringView text)
{
    QList<char32_t> found;
    if (isWritable(text))
        return found;
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x20 && unit != u'\t')
            found.append(unit);
    }
    found.append(windows1252::unrepresentable(text));
    return found;
}

QString describeCharacter(char32_t codePoint)
{
    QString code = QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
    const bool printable = codePoint >= 0x20 && !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
    if (!printable)
        return code;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&codePoint, 1), code);
}

QString describeCharacters(const QList<char32_t> &characters)
{
    QList<char32_t> distinct;
    for (const char32_t c : characters) {
        if (!distinct.contains(c))
            distinct.append(c);
    }
    QStringList parts;
    for (const char32_t c : distinct)
        parts.append(describeCharacter(c));
    return parts.join(QStringLiteral(", "));
}

// Paths are shown with the offending characters replaced, so the message
// stays on one line.
QString printablePath(const QString &path)
{
    QString shown = QDir::toNativeSeparators(path);
    for (QChar &ch : shown) {
        if (ch.unicode() < 0x20)
            ch = QChar(0xFFFD);
    }
    return shown;
}

} // namespace

QList<InputProblem> findUnwritableInputs(const PublicationInputs &inputs)
{
    const struct
    {
        const QString &text;
        const char *place;
    } fields[] = {
        {inputs.title, "the field \"E-Book title:\""},
        {inputs.backColor, "the field \"Back color:\""},
        {inputs.width, "the field \"Resolution (w,h):\" (width)"},
        {inputs.height, "the field \"Resolution (w,h):\" (height)"},
        {inputs.icon, "the field \"Icon:\""},
    };

    QList<InputProblem> problems;
    for (const auto &field : fields) {
        QList<char32_t> bad = unwritableCharacters(field.text);
        if (!bad.isEmpty())
            problems.append({QString::fromLatin1(field.place), std::move(bad)});
    }
    for (qsizetype i = 0; i < inputs.pages.size(); ++i) {
        QList<char32_t> bad = unwritableCharacters(inputs.pages[i]);
        if (!bad.isEmpty()) {
            problems.append({QStringLiteral("page %1 (%2)").arg(i + 1).arg(printablePath(inputs.pages[i])),
                             std::move(bad)});
        }
    }
    return problems;
}

QString describeProblems(const QList<InputProblem> &problems, qsizetype maxShown)
{
    QStringList lines;
    for (qsizetype i = 0; i < problems.size() && i < maxShown; ++i) {
        const InputProblem &problem = problems[i];
        QString line = QStringLiteral("%1 holds characters a publication script cannot hold: %2")
                           .arg(problem.place, describeCharacters(problem.characters));
        line[0] = line[0].toUpper();
        lines.append(line);
    }
    if (problems.size() > maxShown)
        lines.append(QStringLiteral("... and %1 more.").arg(problems.size() - maxShown));
    return lines.join(u'\n');
}
