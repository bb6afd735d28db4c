#pragma once

#include "runtime/result.h"

#include <filesystem>
#include <string_view>

namespace lumvrex {

// The messages of a failed write, the same on every system.

// Could not write "P": REASON.
Error writeFailure(const std::filesystem::path &path, std::string_view reason);
// Could not create "P" in the folder "F": REASON.
Error folderFailure(const std::filesystem::path &path, const std::filesystem::path &folder,
                    std::string_view reason);
// "P" was only partly written: REASON. Its old contents are lost.
Error partlyWritten(const std::filesystem::path &path, std::string_view reason);
// Could not write standard output: REASON.
Error standardOutputFailure(std::string_view reason);

} // namespace lumvrex
