#pragma once

#include <string>

namespace lumvrex {

// The decimal separator of the user's own settings, as UTF-8: "," for a
// Spanish user, "." for an English one. On POSIX systems it comes from the
// environment's LC_NUMERIC (LC_ALL, LC_NUMERIC, LANG); on Windows from the
// user's regional settings.
std::string userDecimalSeparator();

} // namespace lumvrex
