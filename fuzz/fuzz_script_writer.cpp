// Arbitrary bytes as the five fields and a list of pages. For every input the
// writer either refuses it, naming a field or a page, or writes exactly
// 69 + 28 * pages lines, each ended by CR LF, with every input found again in
// its line when the output is decoded from Windows-1252.
#include "publication/publish.h"
#include "runtime/page_effect_source.h"

#include <QBuffer>
#include <QStringDecoder>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void broken(const char *what, const QByteArray &detail = {})
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.constData());
    std::abort();
}

// The first byte chooses how the rest is read: UTF-8, or raw UTF-16 (which
// reaches lone surrogates and every code point). Pieces are separated by NUL.
QStringList pieces(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QString text;
    if (data[0] & 1)
        text = QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    else
        text = QString::fromUtf8(bytes);
    return text.split(QChar(u'\0'));
}

void expectLine(const QList<QString> &lines, qsizetype index, const QString &expected)
{
    if (index >= lines.size() || lines[index] != expected)
        broken("a line does not hold its input:", expected.toUtf8());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList parts = pieces(data, size);
    while (parts.size() < 5)
        parts.append(QString());
    PublicationInputs in{parts[0], parts[1], parts[2], parts[3], parts[4], parts.mid(5, 64)};

    const PublishResult check = checkPublicationInputs(in);
    if (check.status == PublishResult::BadInput) {
        const bool named = check.message.startsWith(QStringLiteral("The field \""))
            || check.message.startsWith(QStringLiteral("Page "));
        if (!named)
            broken("a refusal names no field or page:", check.message.toUtf8());
        return 0;
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SeededEffectSource effects(1);
    const PublishResult written =
        publishToDevice(buffer, QStringLiteral("memory"), in, effects, QLocale::c());
    if (written.status != PublishResult::Written)
        broken("writing to memory failed", written.message.toUtf8());

    const QByteArray &script = buffer.data();
    if (!script.endsWith("\r\n"))
        broken("the script does not end with CR LF");
    QList<QByteArray> rawLines = script.split('\n');
    rawLines.removeLast();
    const qsizetype expectedLines = 69 + 28 * in.pages.size();
    if (rawLines.size() != expectedLines)
        broken("wrong number of lines");
    QList<QString> lines;
    QStringDecoder cp1252("windows-1252");
    for (QByteArray &line : rawLines) {
        if (!line.endsWith('\r') || line.count('\r') != 1)
            broken("a line does not end with CR LF");
        line.chop(1);
        lines.append(cp1252.decode(line));
    }
    expectLine(lines, 2, QStringLiteral("Title = ") + in.title);
    expectLine(lines, 7, QStringLiteral("ScreenWidth = ") + in.width);
    expectLine(lines, 8, QStringLiteral("ScreenHeight = ") + in.height);
    expectLine(lines, 20, QStringLiteral("Icon=") + in.icon);
    for (qsizetype i = 0; i < in.pages.size(); ++i) {
        const qsizetype block = 69 + 28 * i;
        expectLine(lines, block, QStringLiteral("NewPage=page") + QString::number(i));
        expectLine(lines, block + 12, QStringLiteral("X2 = ") + in.width);
        expectLine(lines, block + 13, QStringLiteral("Y2 = ") + in.height);
        expectLine(lines, block + 18, QStringLiteral("FillColor = ") + in.backColor);
        expectLine(lines, block + 24, QStringLiteral("FileName=") + in.pages[i]);
    }
    return 0;
}
