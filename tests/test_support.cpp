#include "test_support.h"

#include <QFile>
#include <QStringEncoder>
#include <QTest>

#include <unistd.h>

QByteArray expectedScript(const QString &name)
{
    const QByteArray utf8 = readWholeFile(QStringLiteral(LUMVREX_TEST_DATA "/") + name);
    QStringEncoder icu("windows-1252");
    if (!icu.isValid())
        qFatal("ICU has no windows-1252 converter");
    QByteArray bytes = icu.encode(QString::fromUtf8(utf8));
    if (icu.hasError())
        qFatal("expected script %s is not Windows-1252 text", qPrintable(name));
    return bytes.replace("\n", "\r\n");
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s: %s", qPrintable(path), qPrintable(file.errorString()));
    return file.readAll();
}

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
}

QList<QByteArray> scriptLines(const QByteArray &script)
{
    QList<QByteArray> lines = script.split('\n');
    if (lines.isEmpty() || !lines.constLast().isEmpty()) {
        QTest::qFail("the script does not end with a line end", __FILE__, __LINE__);
        return {};
    }
    lines.removeLast();
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r')) {
            QTest::qFail("a line ends with LF alone", __FILE__, __LINE__);
            return {};
        }
        line.chop(1);
        if (line.contains('\r')) {
            QTest::qFail("a line holds a CR", __FILE__, __LINE__);
            return {};
        }
    }
    return lines;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}
