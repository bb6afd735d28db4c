#pragma once

#include "runtime/dialogs.h"
#include "runtime/page_effect_source.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Effects from a given list of unit values, recording the order of calls.
class FixedEffectSource final : public PageEffectSource
{
public:
    explicit FixedEffectSource(QList<float> units)
        : m_units(std::move(units))
    { }
    void reseed() override { calls += u'R'; }
    float next() override
    {
        calls += u'N';
        return m_units.isEmpty() ? 0.0f : m_units[m_drawn++ % m_units.size()];
    }
    QString calls; // "R" per reseed, "N" per draw, in order

private:
    QList<float> m_units;
    qsizetype m_drawn = 0;
};

// Dialogs answered by the test; every call is recorded.
class FakeDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "ask", "inform" or "warn"
        QString title;
        QString text;
    };

    std::optional<QString> answer; // what askText returns
    QList<Shown> shown;

    std::optional<QString> askText(const QString &title, const QString &prompt) override
    {
        shown.append({QStringLiteral("ask"), title, prompt});
        return answer;
    }
    void inform(const QString &title, const QString &text) override
    {
        shown.append({QStringLiteral("inform"), title, text});
    }
    void warn(const QString &title, const QString &text) override
    {
        shown.append({QStringLiteral("warn"), title, text});
    }
};

// An expected script from tests/data: kept there as UTF-8 with LF line ends
// for reading, and converted here with ICU's Windows-1252 converter.
QByteArray expectedScript(const QString &name);

QByteArray readWholeFile(const QString &path);
void writeWholeFile(const QString &path, const QByteArray &bytes);

// Lines of a script without their CR LF; fails the test on a bare LF or a
// missing final CR LF.
QList<QByteArray> scriptLines(const QByteArray &script);

// True when the test runs as root, for whom permission bits stop nothing.
bool runningAsRoot();

// Runs a scope with the permissions of "nobody" when the test runs as root,
// so that permission bits stop writes as they stop a normal user.
class Unprivileged
{
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_switched;
};

// A file-size limit for the scope; writes past it fail with EFBIG instead of
// ending the process with SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    qint64 m_oldSoftLimit;
    void (*m_oldHandler)(int);
};

// lumvrex-cli run to its end.
struct CliRun
{
    int exitCode = -1; // -1 when it crashed
    QByteArray out;
    QByteArray err;
};

enum class ChildAs { Caller, Nobody, SmallFileLimit };

CliRun runCli(const QStringList &arguments, const QByteArray &input = {}, ChildAs as = ChildAs::Caller,
              const QStringList &environment = {});

// Picture paths, one per line or NUL-separated, for --files-from.
QByteArray pathList(int count, char separator);
