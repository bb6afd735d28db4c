#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumvrex {

// Paths cross into and out of the core as UTF-8. On Windows the conversion
// goes to and from UTF-16 directly, never through the ANSI code page; on
// POSIX systems a path is its bytes.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path &path);

// A path as messages show it: UTF-8, on one line, at most about 200
// characters.
std::string displayPath(const std::filesystem::path &path);

} // namespace lumvrex
