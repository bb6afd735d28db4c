#pragma once

#include <string_view>

namespace lumvrex {

// The byte a script writes as its decimal separator: the given one (the
// user's, as UTF-8) when Windows-1252 holds it as a single printable byte,
// otherwise a point (scripts are 8-bit text).
char scriptDecimalSeparator(std::string_view separator);

} // namespace lumvrex
