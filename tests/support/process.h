#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumvrex::testing {

// How a program is started.
struct ProgramOptions
{
    std::string input = {};                               // on its standard input, which is then closed
    std::vector<std::string> environment = {};            // NAME=VALUE, beside LC_ALL=C and the rest of ours
    std::optional<std::filesystem::path> outputFile = {}; // its standard output, instead of a pipe
    bool closedInput = false;                             // started with standard input closed
    bool closedOutput = false;                            // started with standard output closed
    enum class As { Caller, Nobody, SmallFileLimit } as = As::Caller; // POSIX only
};

struct ProgramRun
{
    int exitCode = -1; // -1 when it did not end by itself
    std::string out;
    std::string err;
};

ProgramRun runProgram(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                      const ProgramOptions &options = {});

// lumvrex-cli as built beside the tests.
ProgramRun runCli(const std::vector<std::string> &arguments, const ProgramOptions &options = {});

} // namespace lumvrex::testing
