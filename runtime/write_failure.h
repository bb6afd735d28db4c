#pragma once

#include "runtime/result.h"

#include <filesystem>
#include <string_view>

namespace lumvrex {

// The messages of a failed write, the same on every system. The cause's
// message is the reason, and its system code is kept.

// Could not write "P": REASON.
Error writeFailure(const std::filesystem::path &path, const Error &cause);
Error writeFailure(const std::filesystem::path &path, SystemCode code);
Error writeFailure(const std::filesystem::path &path, std::string_view reason);
// Could not create "P" in the folder "F": REASON.
Error folderFailure(const std::filesystem::path &path, const std::filesystem::path &folder, SystemCode code);
// "P" was only partly written: REASON. Its old contents are lost.
Error partlyWritten(const std::filesystem::path &path, const Error &cause);
Error partlyWritten(const std::filesystem::path &path, SystemCode code);
// Could not write standard output: REASON.
Error standardOutputFailure(const Error &cause);
Error standardOutputFailure(std::string_view reason);

} // namespace lumvrex
