#pragma once

#include "publication/publication_inputs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lumvrex {

// Exit codes of lumvrex-cli.
enum ExitCode { kExitWritten = 0, kExitWriteFailed = 1, kExitBadInput = 2 };

struct CliOptions
{
    std::string output;                   // "-" for standard output
    PublicationInputs inputs;             // the fields, and the positional pictures as pages
    std::optional<std::string> filesFrom; // "-" for standard input
    bool nullSeparated = false;
    bool naturalSort = false;
    bool checkFiles = false;
    std::optional<std::uint32_t> seed;
};

// What to do instead of writing a script: print text and end with code. Help
// and the version go to standard output with code 0; a usage error goes to
// standard error with kExitBadInput.
struct CliExit
{
    int code;
    std::string text;
};

// The arguments after the program's name, UTF-8.
std::variant<CliOptions, CliExit> parseCommandLine(const std::vector<std::string> &arguments);

// A usage error: the message, then where to find help.
CliExit usageError(const std::string &message);

} // namespace lumvrex
