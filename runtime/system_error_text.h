#pragma once

#include "runtime/result.h"

#include <string>

namespace lumvrex {

// The operating system's own words for a code: errno's on POSIX systems,
// FormatMessage's for a Windows code. UTF-8, without a final period.
std::string systemErrorText(SystemCode code);

#ifdef _WIN32
// The same, in the given language (a LANGID) where Windows has the text in
// it, else in the user's or any other language it has.
std::string systemErrorText(SystemCode code, unsigned short language);
#endif

// An Error whose message is the system's words for its code.
inline Error systemError(Error::Kind kind, SystemCode code)
{
    return {kind, systemErrorText(code), code};
}

#ifdef _WIN32
// The same, in the given language (a LANGID) where Windows has the text in
// it, else in the user's or any other language it has.
std::string systemErrorText(int code, unsigned short language);
#endif

} // namespace lumvrex
