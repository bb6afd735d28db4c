#pragma once

#include "publication/publication_inputs.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Exit codes of lumvrex-cli.
enum ExitCode { ExitWritten = 0, ExitWriteFailed = 1, ExitBadInput = 2 };

struct CliOptions
{
    QString output;                   // "-" for standard output
    PublicationInputs inputs;         // fields, and the positional pictures as pages
    std::optional<QString> filesFrom; // "-" for standard input
    bool nullSeparated = false;
    bool naturalSort = false;
    bool checkFiles = false;
    std::optional<std::uint32_t> seed;
};

// Parses the arguments. Help and version are printed here and end the
// process with exit code 0; bad usage prints a message and ends it with
// ExitBadInput.
CliOptions parseCommandLineOrExit(const QStringList &arguments);
