#include "cli/command_line.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {

const char *const kDescription = "Writes a NeoBook publication script (.pub) with one page per picture,\n"
                                 "in the order given: the PICTUREs first, then the paths of --files-from.\n"
                                 "\n"
                                 "Exit codes:\n"
                                 "  0  the script was written\n"
                                 "  1  the script could not be written (the message names the path and why)\n"
                                 "  2  bad usage or bad input; nothing was written";

[[noreturn]] void failUsage(const QString &message)
{
    std::fprintf(stderr, "lumvrex-cli: %s\nTry 'lumvrex-cli --help' for more information.\n",
                 qPrintable(message));
    std::exit(ExitBadInput);
}

std::optional<std::uint32_t> parseSeed(const QString &text)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFULL || text.startsWith(u'+'))
        failUsage(QStringLiteral("--seed takes a whole number from 0 to 4294967295, not \"%1\"").arg(text));
    return static_cast<std::uint32_t>(value);
}

} // namespace

CliOptions parseCommandLineOrExit(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the script to OUTPUT; '-' is standard output."),
                                    QStringLiteral("OUTPUT"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("E-book title."),
                                   QStringLiteral("T"));
    const QCommandLineOption backColor(QStringLiteral("back-color"),
                                       QStringLiteral("Page background colour."), QStringLiteral("C"));
    const QCommandLineOption width(QStringLiteral("width"), QStringLiteral("Screen width."),
                                   QStringLiteral("W"));
    const QCommandLineOption height(QStringLiteral("height"), QStringLiteral("Screen height."),
                                    QStringLiteral("H"));
    const QCommandLineOption icon(QStringLiteral("icon"), QStringLiteral("Icon file name."),
                                  QStringLiteral("I"));
    const QCommandLineOption filesFrom(
        QStringLiteral("files-from"),
        QStringLiteral("Read more picture paths from LIST, one per line ('-' is standard input)."),
        QStringLiteral("LIST"));
    const QCommandLineOption null(QStringLiteral("null"),
                                  QStringLiteral("Paths in LIST are separated by NUL bytes, not lines."));
    const QCommandLineOption naturalSort(QStringLiteral("natural-sort"),
                                         QStringLiteral("Sort the pages so that page2 comes before page10."));
    const QCommandLineOption checkFiles(QStringLiteral("check-files"),
                                        QStringLiteral("Write nothing if a picture does not exist."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Draw the page effects from a generator seeded with N,"
                                                 " for the same bytes on every run."),
                                  QStringLiteral("N"));
    parser.addOptions(
        {output, title, backColor, width, height, icon, filesFrom, null, naturalSort, checkFiles, seed});
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Picture files, one page each."),
                                 QStringLiteral("[PICTURE...]"));

    if (!parser.parse(arguments))
        failUsage(parser.errorText());
    if (parser.isSet(helpOption))
        parser.showHelp(ExitWritten);
    if (parser.isSet(versionOption))
        parser.showVersion();

    if (!parser.isSet(output))
        failUsage(QStringLiteral("an output file is needed: -o OUTPUT"));
    if (parser.isSet(null) && !parser.isSet(filesFrom))
        failUsage(QStringLiteral("--null goes with --files-from"));

    for (const QCommandLineOption &single :
         {output, title, backColor, width, height, icon, filesFrom, seed}) {
        if (parser.values(single).size() > 1)
            failUsage(QStringLiteral("--%1 was given more than once").arg(single.names().constLast()));
    }

    CliOptions options;
    options.output = parser.value(output);
    if (options.output.isEmpty())
        failUsage(QStringLiteral("the output file name is empty"));
    options.inputs.title = parser.value(title);
    options.inputs.backColor = parser.value(backColor);
    options.inputs.width = parser.value(width);
    options.inputs.height = parser.value(height);
    options.inputs.icon = parser.value(icon);
    options.inputs.pages = parser.positionalArguments();
    if (parser.isSet(filesFrom))
        options.filesFrom = parser.value(filesFrom);
    options.nullSeparated = parser.isSet(null);
    options.naturalSort = parser.isSet(naturalSort);
    options.checkFiles = parser.isSet(checkFiles);
    if (parser.isSet(seed))
        options.seed = parseSeed(parser.value(seed));
    return options;
}
