#pragma once

#include "runtime/result.h"

#include <optional>
#include <string>

namespace lumvrex {

// The descriptor a name such as /dev/stdout or /proc/self/fd/1 stands for.
// Such names are written through the descriptor itself: opening them anew
// fails for sockets, and their targets must never be replaced.
std::optional<int> ownDescriptorNamed(const std::string &name);

// The name a chain of symbolic links ends at (itself when it is no link),
// whether or not that file exists.
Result<std::string> followLinks(const std::string &name);

} // namespace lumvrex
