#pragma once

#include <cstddef>
#include <string>

namespace lumvrex {

// Room that formatSingle() needs at most.
inline constexpr std::size_t kMaxSingleTextLength = 24;

// Text of a single-precision number the way a BASIC runtime prints it:
// correctly rounded to at most seven significant digits (ties to even),
// trailing zeros dropped, "0.5" below one, no leading blank and no grouping,
// and the given decimal separator. Magnitudes below 0.0001 (and from 1E+07
// up) take an exponent form such as "8.940697E-07". Writes into out and
// returns the length.
std::size_t formatSingle(float value, char decimalSeparator, char *out);

std::string singleToText(float value, char decimalSeparator = '.');

} // namespace lumvrex
