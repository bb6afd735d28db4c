#include "cli/command_line.h"
#include "cli/page_sources.h"
#include "publication/publish.h"
#include "runtime/page_effect_source.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "lumvrex-cli: %s\n", qPrintable(message));
    return code;
}

std::unique_ptr<PageEffectSource> effectSource(const CliOptions &options)
{
    if (options.seed)
        return std::make_unique<SeededEffectSource>(*options.seed);
    return std::make_unique<ClockEffectSource>();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumvrex-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMVREX_VERSION_TEXT));

    QString listText; // pages read from a list point into it, so it outlives them
    CliOptions options = parseCommandLineOrExit(QCoreApplication::arguments());
    QStringList &pages = options.inputs.pages;

    if (options.filesFrom) {
        QString error;
        if (!readPathList(*options.filesFrom, options.nullSeparated, &listText, &pages, &error))
            return fail(ExitBadInput, error);
    }
    if (options.naturalSort)
        sortNaturally(pages);
    if (options.checkFiles) {
        const QStringList missing = missingPages(pages);
        if (!missing.isEmpty())
            return fail(ExitBadInput,
                        QStringLiteral("these pictures do not exist:\n  ") + missing.join(u"\n  "));
    }

    const std::unique_ptr<PageEffectSource> effects = effectSource(options);
    PublishResult result;
    if (options.output == u"-") {
        QFile out;
        // Unbuffered: the writer already hands over large chunks.
        if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return fail(ExitWriteFailed, QStringLiteral("cannot open standard output: ") + out.errorString());
        result = publishToDevice(out, QStringLiteral("standard output"), options.inputs, *effects);
    } else {
        result = publishToFile(options.output, options.inputs, *effects);
    }

    switch (result.status) {
    case PublishResult::Written:
        return ExitWritten;
    case PublishResult::BadInput:
        return fail(ExitBadInput, result.message);
    case PublishResult::WriteFailed:
        return fail(ExitWriteFailed, result.message);
    }
    return ExitWriteFailed;
}
