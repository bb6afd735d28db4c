#pragma once

#include <string_view>

namespace lumvrex {

// Writes UTF-8 text to standard output or standard error. A Windows console
// shows the characters it holds whatever its code page.
void printToStandardOutput(std::string_view text);
void printToStandardError(std::string_view text);

} // namespace lumvrex
