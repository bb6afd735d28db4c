#pragma once

#include <cstddef>

namespace lumvrex {

// Room that formatSingle() and formatPageEffect() need at most.
inline constexpr std::size_t kMaxSingleTextLength = 24;

// Text of a single-precision number the way a BASIC runtime prints it:
// correctly rounded to at most seven significant digits (ties to even),
// trailing zeros dropped, "0.5" below one, no leading blank and no grouping,
// and the given decimal separator. Magnitudes below 0.0001 (and from 1E+07
// up) take an exponent form such as "8.940697E-07". Writes into out and
// returns the length.
std::size_t formatSingle(float value, char decimalSeparator, char *out);

// A page's effect number: a unit value in [0, 1) scaled to [0, 15) in single
// precision.
float pageEffectValue(float unit);

// The effect as written after "PageEffect = ". Seven significant digits can
// round a value just below 15 up to "15", which the authoring program does
// not accept; that case is written as the largest seven-digit value below.
std::size_t formatPageEffect(float effect, char decimalSeparator, char *out);

} // namespace lumvrex
