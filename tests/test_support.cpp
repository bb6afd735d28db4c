#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
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

Unprivileged::Unprivileged()
    : m_switched(runningAsRoot())
{
    if (m_switched && ::seteuid(65534) != 0)
        qFatal("seteuid(nobody) failed");
}

Unprivileged::~Unprivileged()
{
    if (m_switched && ::seteuid(0) != 0)
        qFatal("seteuid(root) failed");
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldSoftLimit = qint64(limit.rlim_cur);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("setrlimit failed");
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_oldSoftLimit);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}

CliRun runCli(const QStringList &arguments, const QByteArray &input, ChildAs as,
              const QStringList &environment)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.setChildProcessModifier([as] {
        if (as == ChildAs::Nobody && ::geteuid() == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        }
        if (as == ChildAs::SmallFileLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(64) * 1024;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    process.start(QStringLiteral(LUMVREX_CLI), arguments);
    if (!process.waitForStarted())
        qFatal("lumvrex-cli did not start");
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        qFatal("lumvrex-cli did not finish");
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray pathList(int count, char separator)
{
    QByteArray list;
    for (int i = 0; i < count; ++i)
        list += "/pictures/p" + QByteArray::number(i) + ".png" + separator;
    return list;
}
