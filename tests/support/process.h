#pragma once

#include <chrono>
#include <cstdint>
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
    // POSIX only: a limit on the program's address space, and a signal sent
    // to it after a delay.
    std::optional<std::uint64_t> addressSpaceLimit = {};
    int signal = 0;
    std::chrono::microseconds signalAfter = {};
};

struct ProgramRun
{
    int exitCode = -1; // -1 when it did not end by itself
    int endedBySignal = 0;
    std::string out;
    std::string err;
    long peakKilobytes = 0; // its largest resident set (POSIX only)
};

ProgramRun runProgram(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                      const ProgramOptions &options = {});

// lumvrex-cli as built beside the tests.
ProgramRun runCli(const std::vector<std::string> &arguments, const ProgramOptions &options = {});

} // namespace lumvrex::testing
