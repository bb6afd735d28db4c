#pragma once

#include <string>

namespace lumvrex {

// The operating system's own words for an error number: errno on POSIX
// systems, GetLastError() on Windows. UTF-8, without a final period.
std::string systemErrorText(int code);

} // namespace lumvrex
