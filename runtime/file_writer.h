#pragma once

#include "runtime/result.h"

#include <filesystem>
#include <string_view>

namespace lumvrex {

// Writes the bytes to path so that the result is what writing the file in
// place gives, without ever leaving it half-written where that can be
// helped:
// - a new file, or an existing one whose owner, group, mode, ACLs and
//   extended attributes a new file can take, is written beside it and put in
//   its place only when complete (an existing file keeps its old bytes on any
//   failure);
// - any other existing file (more than one link, an owner the process cannot
//   give, a folder that takes no new file, a bind mount) is written in place,
//   after the room for it was reserved;
// - devices, FIFOs, sockets and the process's own standard streams are
//   written straight to;
// - symbolic links are followed and stay; folders are refused.
// The Error names the path, the folder where that is what failed, and the
// system's reason.
Status writeFile(const std::filesystem::path &path, std::string_view bytes);

// Writes the bytes to the process's standard output.
Status writeStandardOutput(std::string_view bytes);

} // namespace lumvrex
