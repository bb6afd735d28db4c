#pragma once

#include <string>
#include <string_view>

namespace lumvrex {

// The decimal separator of the user's own settings, as UTF-8: "," for a
// Spanish user, "." for an English one. On POSIX systems it comes from the
// environment's LC_NUMERIC (LC_ALL, LC_NUMERIC, LANG); on Windows from the
// user's regional settings.
std::string userDecimalSeparator();

// The byte a script writes as its decimal separator: the given one when
// Windows-1252 holds it as a single printable byte, otherwise a point
// (scripts are 8-bit text).
char scriptDecimalSeparator(std::string_view separator);

} // namespace lumvrex
