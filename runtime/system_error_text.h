#pragma once

#include <string>

namespace lumvrex {

// The operating system's own words for an error number: errno on POSIX
// systems, GetLastError() on Windows. UTF-8, without a final period.
std::string systemErrorText(int code);

#ifdef _WIN32
// The same, in the given language (a LANGID) where Windows has the text in
// it, else in the user's or any other language it has.
std::string systemErrorText(int code, unsigned short language);
#endif

} // namespace lumvrex
