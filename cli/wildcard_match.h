#pragma once

#include <cstddef>
#include <string_view>

namespace lumvrex {

// Windows leaves * and ? in a program's arguments to the program, as cmd.exe
// passes them on; lumvrex-cli.exe expands them in PICTURE arguments, in the
// last part of a path only.

// Whether a path holds * or ?, where the last part of the path starts (after
// its last '\\', '/' or drive "C:"), and where a Windows path's own prefix
// "\\?\" ends: its '?' is no wildcard.
bool holdsWildcard(std::string_view path);
std::size_t lastPartAt(std::string_view path);

// Whether a name matches a pattern of the last part, both already in one
// case: * stands for any characters, ? for one, and a pattern ending in ".*"
// also takes names without a dot ("*.*" takes every name), as Windows has it.
bool wildcardMatches(std::u32string_view pattern, std::u32string_view name);

} // namespace lumvrex
