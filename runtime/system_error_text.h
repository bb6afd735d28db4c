#pragma once

#include "runtime/result.h"

#include <string>

namespace lumvrex {

// The operating system's own words for a code: errno's on POSIX systems,
// FormatMessage's for a Windows code. UTF-8, without a final period.
std::string systemErrorText(SystemCode code);

// An Error whose message is the system's words for its code.
inline Error systemError(Error::Kind kind, SystemCode code)
{
    return {kind, systemErrorText(code), code};
}

} // namespace lumvrex
