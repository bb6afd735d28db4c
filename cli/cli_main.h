#pragma once

#include <string>
#include <vector>

namespace lumvrex {

// The whole of lumvrex-cli once its arguments (after the program's name) are
// UTF-8: parses them, reads the pages, writes the script, prints what went
// wrong. Returns the exit code.
int runCli(const std::vector<std::string> &arguments);

} // namespace lumvrex
