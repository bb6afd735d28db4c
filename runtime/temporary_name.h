#pragma once

#include <filesystem>
#include <string>

namespace lumvrex {

// The folder a file's name is looked up in: "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path &file);

// A fresh hidden name for a file being written beside its target:
// ".lumvrex-" and eight random letters and digits.
std::string temporaryName();

} // namespace lumvrex
